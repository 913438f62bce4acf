#pragma once

#include <optional>
#include <string>

#include "FirmwareImage.h"
#include "Message.h"

namespace parvel {

// Interprets one upper-cased line into the image: data is stored into the cells, ID and
// configuration records replace id_text / config_text. Returns the message to show when the
// line is rejected (cells of the record before the failing one are already stored).
std::optional<Message> ReadHexRecord(FirmwareImage& image, const std::string& line);

}  // namespace parvel
