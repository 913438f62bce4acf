#pragma once

// The decimal separator of the user's locale as one character ('.' where it is none). The servo
// frames show and read their decimal fields (scale, pulse times) with it.
char LocaleDecimalSeparator();
