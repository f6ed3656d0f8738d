#pragma once
// A local HTML page (the info window's info.htm) without a web engine: Qt's rich
// text browser, reloaded at every navigation; links to the web open in the
// system's browser.
#include <QTextBrowser>
#include <QUrl>

namespace views {

class TextPageView : public QTextBrowser {
    Q_OBJECT

public:
    explicit TextPageView(QWidget *parent = nullptr);

    void navigate(const QUrl &url);
};

} // namespace views
