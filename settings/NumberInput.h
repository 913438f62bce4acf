#pragma once

#include <optional>
#include <string>

#include "image/FirmwareImage.h"
#include "image/Message.h"

namespace parvel {

// The verdict on a number typed into a value edit of the additional-settings frame or the CV
// table. The frame shows `message` (if any), gives the edit the focus back when `refocus` is
// set, and stores `value` only when the input was accepted.
struct NumberInput {
    enum class Verdict { Empty, Rejected, Accepted };
    Verdict verdict = Verdict::Empty;
    int value = 0;
    std::optional<Message> message;
    bool refocus = false;

    bool accepted() const { return verdict == Verdict::Accepted; }
};

// "Ungültige Eingabe.\rZugelassen sind nur Zahlen", warning with the single button Cancel.
Message NotANumberMessage();
// "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich <min>..<max>", likewise.
Message RangeMessage(int minimum, int maximum);

// Checks an edit text against minimum..maximum (both inclusive).
// - Nothing but blanks: Empty (no message, nothing to store).
// - Not a decimal integer (optional sign, digits, blanks around): Rejected with the
//   not-a-number message, and the edit takes the focus back.
// - An integer outside the range, however many digits it has: Rejected with the range message;
//   the focus stays where it is.
// - Otherwise Accepted with the value ("07" gives 7).
NumberInput CheckNumberInput(const std::string& text, int minimum, int maximum);

// A count or stretch byte read from the image as its editor shows it. The editor limits the
// byte to minimum..maximum and writes the limited value back when its table is taken over, so
// what it shows is what the decoder gets. `note` tells the user when the stored byte lay outside
// ("gespeichert: 255, wird 50"); it is empty for a byte in range.
struct ShownValue {
    int value = 0;
    std::string note;
};
ShownValue ShowStoredValue(int stored, int minimum, int maximum);

// Stores a two-digit text into an EEPROM cell of the image and makes sure the cell is saved:
// the writer writes the cells up to eeprom_last only, so a cell beyond it would be dropped from
// the file without a word.
void StoreEepromCell(FirmwareImage& image, int cell, const std::string& text);

}  // namespace parvel
