#include "views/text_page_view.h"

namespace views {

TextPageView::TextPageView(QWidget *parent) : QTextBrowser(parent) { setOpenExternalLinks(true); }

// setSource() with the address on show only scrolls; the page must come from disk again.
void TextPageView::navigate(const QUrl &url)
{
    if (url == source())
        reload();
    else
        setSource(url);
}

} // namespace views
