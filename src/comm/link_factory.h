#pragma once
// The links this system has: a serial link for serial settings, a TCP link for
// TCP settings.
#include "comm/link.h"
#include "comm/link_settings.h"

#include <memory>

namespace comm {

std::unique_ptr<Link> makeLink(const LinkSettings &settings);

} // namespace comm
