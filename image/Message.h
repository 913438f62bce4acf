#pragma once

#include <string>
#include <string_view>

namespace parvel {

// A user-facing message as the core hands it to the window (or the command line) to show.
enum class Icon { Information, Warning };
// SaveDiscardCancel: "Speichern", "Verwerfen", "Abbrechen"; OverwriteSkipCancel:
// "Überschreiben", "Überspringen", "Abbrechen".
enum class Buttons {
    Ok,
    Cancel,
    YesNo,
    YesIgnore,
    CancelIgnore,
    Ignore,
    YesNoCancel,
    SaveDiscardCancel,
    OverwriteSkipCancel
};
enum class Answer { Ok, Cancel, Yes, No, Ignore, Save, Discard, Overwrite, Skip };

struct Message {
    std::string text;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;

    bool operator==(const Message& o) const {
        return text == o.text && icon == o.icon && buttons == o.buttons;
    }
};

// Answer to take when a message cannot be asked: the one that changes nothing.
Answer SafeAnswer(Buttons buttons);

// German names of a button set ("Ja/Ignorieren") and of an answer ("Ignorieren"), as the
// command line prints a question it answered itself.
const char* ButtonsName(Buttons buttons);
const char* AnswerName(Answer answer);

// Bytes from a file (or any other outside source) as readable text: valid UTF-8 passes through
// unchanged, while every byte of an invalid or cut UTF-8 sequence and every control character
// other than tab (C0, DEL and the C1 range) appears as "\xNN" with two upper-case hex digits.
// The result is always valid UTF-8, so it can go into a message box, a terminal or a JSON
// document, and applying it again changes nothing.
std::string ReadableText(std::string_view bytes);

// A message of the program for a message box or a terminal: like ReadableText, but its own line
// breaks (CR LF, LF or CR) stay line breaks, written as LF. A message that quotes bytes of a
// file has escaped those already, so a line break left in the text is always the program's.
std::string ReadableMessage(std::string_view text);

// German text of an operating-system error number for messages ("Datei oder Ordner nicht
// gefunden" for ENOENT); a rare number is named with the system's own text as a clue.
std::string SystemErrorText(int error_number);

}  // namespace parvel
