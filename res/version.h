// The program's version, in the one place the version resource, the About box, the settings
// file and the update check all read it from. The packaging reads the dotted number.
#pragma once

#define LUMIVAR_VERSION_NUMBERS 1, 25, 0, 1218
#define LUMIVAR_VERSION_DOTTED "1.25.0.1218"
#define LUMIVAR_VERSION_TEXT "V1.25 2004贺岁版 Build12.18"
