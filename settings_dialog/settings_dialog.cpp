// Settings and question-editor dialog (filled in by its own change).
