#pragma once
// A UiText (platform/uitext.h) in the language the console runs in: its source
// looked up in the installed translation, then its arguments filled in, each
// translated the same way.
#include "platform/uitext.h"

#include <QString>

namespace toolkit {

QString translated(const platform::UiText &text);

} // namespace toolkit
