#include "image/Message.h"

#include <cerrno>
#include <string>
#include <cstring>

namespace parvel {

Answer SafeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Cancel: return Answer::Cancel;
        case Buttons::YesNo: return Answer::No;
        case Buttons::YesIgnore: return Answer::Ignore;
        case Buttons::CancelIgnore: return Answer::Cancel;
        case Buttons::Ignore: return Answer::Ignore;
        case Buttons::YesNoCancel:
        case Buttons::SaveDiscardCancel:
        case Buttons::OverwriteSkipCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

const char* ButtonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return "OK";
        case Buttons::Cancel: return "Abbrechen";
        case Buttons::YesNo: return "Ja/Nein";
        case Buttons::YesIgnore: return "Ja/Ignorieren";
        case Buttons::CancelIgnore: return "Abbrechen/Ignorieren";
        case Buttons::Ignore: return "Ignorieren";
        case Buttons::YesNoCancel: return "Ja/Nein/Abbrechen";
        case Buttons::SaveDiscardCancel: return "Speichern/Verwerfen/Abbrechen";
        case Buttons::OverwriteSkipCancel: return "Überschreiben/Überspringen/Abbrechen";
    }
    return "?";
}

const char* AnswerName(Answer answer) {
    switch (answer) {
        case Answer::Ok: return "OK";
        case Answer::Cancel: return "Abbrechen";
        case Answer::Yes: return "Ja";
        case Answer::No: return "Nein";
        case Answer::Ignore: return "Ignorieren";
        case Answer::Save: return "Speichern";
        case Answer::Discard: return "Verwerfen";
        case Answer::Overwrite: return "Überschreiben";
        case Answer::Skip: return "Überspringen";
    }
    return "?";
}

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

// Length of the valid UTF-8 sequence starting at text[i], 0 when it is not one (bad lead byte,
// missing or wrong continuation byte, overlong form, surrogate, above U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = at(i);
    std::size_t len = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    if (at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < len; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    }
    return len;
}

}  // namespace

std::string ReadableText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) AppendEscaped(out, c);
            else out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t len = Utf8SequenceLength(bytes, i);
        if (len == 0) {
            AppendEscaped(out, c);
            ++i;
            continue;
        }
        // U+0080..U+009F are control characters too.
        const bool c1_control = c == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0;
        for (std::size_t k = 0; k < len; ++k) {
            if (c1_control) AppendEscaped(out, static_cast<unsigned char>(bytes[i + k]));
            else out += bytes[i + k];
        }
        i += len;
    }
    return out;
}

std::string ReadableMessage(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
        out += ReadableText(text.substr(start, i - start));
        if (i == text.size()) break;
        out += '\n';
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return out;
}

std::string SystemErrorText(int error_number) {
    switch (error_number) {
        case ENOENT: return "Datei oder Ordner nicht gefunden";
        case EACCES:
        case EPERM: return "keine Berechtigung";
        case ENOSPC: return "Datenträger voll";
#ifdef EDQUOT
        case EDQUOT: return "Speicherkontingent erschöpft";
#endif
        case EROFS: return "Datenträger schreibgeschützt";
        case EISDIR: return "ist ein Ordner";
        case ENOTDIR: return "ein Teil des Pfades ist kein Ordner";
        case EEXIST: return "die Datei gibt es schon";
        case EBUSY:
        case ETXTBSY: return "die Datei ist von einem anderen Programm belegt";
        case EIO: return "Ein-/Ausgabefehler des Datenträgers";
        case ENAMETOOLONG: return "Dateiname zu lang";
        case ELOOP: return "zu viele symbolische Verknüpfungen (Verknüpfung im Kreis?)";
        case EMFILE:
        case ENFILE: return "zu viele offene Dateien";
        case ENOMEM: return "zu wenig Arbeitsspeicher";
        case EFBIG: return "Datei zu groß";
        case EXDEV: return "Verschieben zwischen Laufwerken nicht möglich";
        case EINVAL: return "ungültiger Datei- oder Ordnername";
    }
    // A rare error: its number, with the system's own text (which may be English) as a clue.
    return "Systemfehler " + std::to_string(error_number) + " (" + std::strerror(error_number) + ")";
}

}  // namespace parvel
