#include "Message.h"

namespace parvel {

Answer SafeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Cancel: return Answer::Cancel;
        case Buttons::YesNo: return Answer::No;
        case Buttons::YesIgnore: return Answer::Ignore;
        case Buttons::CancelIgnore: return Answer::Cancel;
        case Buttons::Ignore: return Answer::Ignore;
    }
    return Answer::Cancel;
}

const char* ButtonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return "OK";
        case Buttons::Cancel: return "Cancel";
        case Buttons::YesNo: return "Yes/No";
        case Buttons::YesIgnore: return "Yes/Ignore";
        case Buttons::CancelIgnore: return "Cancel/Ignore";
        case Buttons::Ignore: return "Ignore";
    }
    return "?";
}

const char* AnswerName(Answer answer) {
    switch (answer) {
        case Answer::Ok: return "OK";
        case Answer::Cancel: return "Cancel";
        case Answer::Yes: return "Yes";
        case Answer::No: return "No";
        case Answer::Ignore: return "Ignore";
    }
    return "?";
}

}  // namespace parvel
