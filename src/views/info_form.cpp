#include "views/info_form.h"

#include "ui_tinfoform1.h"

#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QUrl>

namespace views {

namespace {
constexpr int kButtonMargin = 8;
}

TInfoForm1::TInfoForm1(QWidget *mainWindow, const QString &infoPage)
    : LockingWindow(mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint
                                    | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TInfoForm1>()), infoPage(infoPage)
{
    ui->setupUi(this);
    setFixedSize(size());
    QPalette yellow = palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    setPalette(yellow);
    setAutoFillBackground(true);
    ui->btnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(ui->btnOK, &QPushButton::clicked, this, &TInfoForm1::btnOKClick);
    // OK is the window's default button: Enter presses it wherever the focus is.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, ui->btnOK, &QPushButton::click);
}

TInfoForm1::~TInfoForm1() = default;

void TInfoForm1::FormShow()
{
    const int clientWidth = width();
    ui->btnOK->move(clientWidth / 2 - ui->btnOK->width() / 2,
                    height() - ui->btnOK->height() - kButtonMargin);
    ui->CppWebBrowser1->move(clientWidth / 2 - ui->CppWebBrowser1->width() / 2, ui->CppWebBrowser1->y());
    // Loaded afresh at every showing: a page changed on disk shows as it is now.
    ui->CppWebBrowser1->navigate(QUrl::fromLocalFile(infoPage));
    LockingWindow::FormShow();
}

void TInfoForm1::btnOKClick() { close(); }

} // namespace views
