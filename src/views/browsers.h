#pragma once
// The one place that chooses what shows the info page and the webcam: where the
// build has Qt WebEngine (VELMORA_WEBENGINE), its browser with the light views
// to fall back on; else the light views alone. All are widgets with navigate(QUrl).
#if VELMORA_WEBENGINE
#include "views/browser_view.h"
#else
#include "views/camera_view.h"
#include "views/text_page_view.h"

namespace views {

using InfoBrowser = TextPageView;
using WebcamBrowser = CameraView;

} // namespace views
#endif
