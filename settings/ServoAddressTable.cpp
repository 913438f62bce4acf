#include "settings/ServoAddressTable.h"

#include <stdexcept>

#include "settings/TorvSettings.h"

namespace parvel {

int OneHotIndex(int x) {
    for (int bit = 0; bit < 8; ++bit) {
        if (x & (1 << bit)) return bit;
    }
    return 0;
}

int IndexBit(int i) { return i >= 0 && i <= 7 ? 1 << i : 0; }

AddressRowPlace AddressRowPlaceOf(int row) {
    if (row < 0 || row >= kAddressRows) {
        throw std::out_of_range("address row " + std::to_string(row) + " does not exist");
    }
    AddressRowPlace place;
    if (row < 4) {
        place.page = row;
        place.servo_action_offset = kOffsetServoAction;
        place.curve_relay_offset = kOffsetCurveRelay;
    } else {
        place.page = row - 4;
        place.servo_action_offset = kOffsetServoAction2;
        place.curve_relay_offset = kOffsetCurveRelay2;
    }
    return place;
}

int DecodeAddressField(std::uint8_t byte, AddressField field) {
    switch (field) {
        case AddressField::Servo:
            return OneHotIndex(byte);
        case AddressField::Action:
            return OneHotIndex((byte & 0xF0) >> 3);
        case AddressField::Curve:
            return OneHotIndex((byte >> 4) & 0x0F);
        case AddressField::Relay:
            return OneHotIndex(byte & 0x0F);
    }
    return 0;
}

std::uint8_t EncodeAddressField(std::uint8_t byte, AddressField field, int item) {
    const bool listed = item >= 0 && item < kAddressListItems;
    int low = byte & 0x0F;
    int high = byte & 0xF0;
    switch (field) {
        case AddressField::Servo:
        case AddressField::Relay:
            low = listed ? IndexBit(item) : 0;
            break;
        // "Start" has no bit; the others are bits 4..6.
        case AddressField::Action:
            high = listed && item > 0 ? IndexBit(item + 3) : 0;
            break;
        case AddressField::Curve:
            high = listed ? IndexBit(item + 4) : 0;
            break;
    }
    return static_cast<std::uint8_t>(high | low);
}

namespace {

int OffsetOf(const AddressRowPlace& place, AddressField field) {
    return field == AddressField::Servo || field == AddressField::Action ? place.servo_action_offset
                                                                         : place.curve_relay_offset;
}

}  // namespace

int AddressItem(const ServoPages& pages, int row, AddressField field) {
    const AddressRowPlace place = AddressRowPlaceOf(row);
    const int item = DecodeAddressField(pages.at(place.page, OffsetOf(place, field)), field);
    return item < kAddressListItems ? item : -1;
}

void SetAddressItem(ServoPages& pages, int row, AddressField field, int item) {
    const AddressRowPlace place = AddressRowPlaceOf(row);
    const int offset = OffsetOf(place, field);
    pages.set(place.page, offset, EncodeAddressField(pages.at(place.page, offset), field, item));
}

bool HasServoFlag(const ServoPages& pages, int servo, ServoFlag flag) {
    return (pages.at(servo, kOffsetFlags) & static_cast<std::uint8_t>(flag)) != 0;
}

void SetServoFlag(ServoPages& pages, int servo, ServoFlag flag, bool on) {
    const std::uint8_t bit = static_cast<std::uint8_t>(flag);
    const std::uint8_t b = pages.at(servo, kOffsetFlags);
    pages.set(servo, kOffsetFlags, static_cast<std::uint8_t>(on ? (b | bit) : (b & ~bit)));
}

TorvAdrVariant TorvAdrVariantFor(std::uint32_t type_code) {
    TorvAdrVariant v;
    v.row_labels = {"Adresse 01",  "Adresse 02",  "Adresse 03",  "Adresse 04",
                    "Adresse 05:", "Adresse 06:", "Adresse 07:", "Adresse 08:"};
    if (type_code == kTypeTorvikFunction) {
        v.row_labels[0] = "Adresse 01 ein";
        v.row_labels[1] = "Adresse 01 aus";
        v.row_labels[2] = "Adresse 02 ein";
        v.row_labels[3] = "Adresse 02 aus";
    }
    // Only the Torv-4 drives four servos; codes not listed take its layout.
    v.four_servos = type_code != kTypeTorvik && type_code != kTypeTorvikThreshold &&
                    type_code != kTypeTorvikFunction;
    return v;
}

CurveListVisibility CurveVisibilityFor(const std::array<int, kAddressRows>& action_items,
                                       bool four_servos) {
    CurveListVisibility v;
    const int rows = four_servos ? kAddressRows : 4;
    for (int r = 0; r < rows; ++r) {
        v.curve[r] = action_items[r] < 2;
        if (four_servos) v.relay[r] = v.curve[r];
    }
    return v;
}

}  // namespace parvel
