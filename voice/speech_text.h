#pragma once
// Text rules around speech and readings: the reading prepared for speech, the
// editor's reading button, and our phonetic notation turned into plain text the
// speech engine reads well.
#include <string>
#include <vector>

#include "voice/speech.h"

// The reading of a text, fit for speech: the topic particle before a pause is
// written as it is pronounced ("は、" becomes "わ、", every occurrence, left to
// right). Empty when no reading could be obtained.
std::string MakeSpeechText(ReadingService& reading, const std::string& utf8Text);

// The editor's reading button: when the caret's line is not empty and has a
// reading, that reading is inserted as a new line directly after it. Returns
// whether a line was inserted; a caret outside the lines inserts nothing.
bool InsertReadingAfterLine(std::vector<std::string>& lines, int caretLine,
                            ReadingService& reading);

// Our notation (hiragana, ' accent marks, / phrase breaks, 、 and 。) as text the
// engine reads without stray pauses: marks removed, first line only.
std::string NotationToOpenJTalkText(const std::string& utf8Notation);

// Katakana -> hiragana; everything else is kept as it is.
std::string KatakanaToHiragana(const std::string& utf8Text);
