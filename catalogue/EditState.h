#pragma once

#include <array>
#include <string>

#include "Catalogue.h"
#include "FirmwareImage.h"

namespace parvel {

class DecoderSession;

// Everything the user can change in the window after a load, as one value: the image cells,
// the grid's field texts and R/G choices, and the shown frame's own working state (packed by
// the frame; empty when the frame keeps nothing outside the image). The undo history keeps one
// of these per step; the image is packed into one string (a few kilobytes) so that a long
// history stays small.
struct EditState {
    std::string image;  // every cell of the image, see PackImage
    std::array<std::string, kGridRows> address_text;
    std::array<std::string, kGridRows> function_text;
    std::array<int, kGridRows> green{};
    std::array<std::string, kGridRows> address_code;
    std::array<std::string, kGridRows> function_code;
    std::string frame;  // the shown frame's working copy, packed by the frame
    // Which part the shown frame had on screen (pattern block, servo curve). Not part of the
    // comparison: choosing another block or curve is no change, but an undo shows the part
    // where the change was made.
    int view = 0;

    bool operator==(const EditState& o) const {
        return image == o.image && address_text == o.address_text &&
               function_text == o.function_text && green == o.green &&
               address_code == o.address_code && function_code == o.function_code &&
               frame == o.frame;
    }
    bool operator!=(const EditState& o) const { return !(*this == o); }

    // Approximate bytes held, for the history's memory figure.
    std::size_t Bytes() const;
};

// The image's cells, ID and configuration texts as one string (each text with its length in
// front, so a cell of any length comes back as it was); the line buffer is not part of it, the
// save rebuilds it.
std::string PackImage(const FirmwareImage& image);
// Puts a packed image back; false (and the image untouched) when `packed` is not one.
bool UnpackImage(const std::string& packed, FirmwareImage& image);

// The session's part of the state (image and grid values); the field texts come from the
// caller, who owns the fields.
EditState CaptureSession(const DecoderSession& session,
                         const std::array<std::string, kGridRows>& address_text,
                         const std::array<std::string, kGridRows>& function_text);
// Puts image, R/G choices and codes back into the session (the caller shows the texts).
void RestoreSession(const EditState& state, DecoderSession& session);

// German description of a grid step: "Adresse Weiche 1: 320 → 77", "Funktion F1: 1 → 2",
// "R/G Weiche 1: rot → grün". Empty when no grid value differs or several rows changed in
// different ways (the caller then names the step after its control).
std::string DescribeGridChange(const EditState& before, const EditState& after,
                               const std::array<std::string, kGridRows>& labels);

}  // namespace parvel
