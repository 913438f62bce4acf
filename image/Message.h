#pragma once

#include <string>

namespace parvel {

// A user-facing message as the core hands it to the window (or the command line) to show.
enum class Icon { Information, Warning };
enum class Buttons { Ok, Cancel, YesNo, YesIgnore, CancelIgnore, Ignore };
enum class Answer { Ok, Cancel, Yes, No, Ignore };

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

const char* ButtonsName(Buttons buttons);
const char* AnswerName(Answer answer);

}  // namespace parvel
