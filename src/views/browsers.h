#pragma once
// The one place that chooses what shows the info page and the webcam: Qt
// WebEngine's browser where the build has it (VELMORA_WEBENGINE), else the light
// views. All are widgets with navigate(QUrl).
#if VELMORA_WEBENGINE
#include "toolkit/web_browser.h"
#else
#include "views/camera_view.h"
#include "views/text_page_view.h"
#endif

namespace views {

#if VELMORA_WEBENGINE
using InfoBrowser = toolkit::WebBrowser;
using WebcamBrowser = toolkit::WebBrowser;
#else
using InfoBrowser = TextPageView;
using WebcamBrowser = CameraView;
#endif

} // namespace views
