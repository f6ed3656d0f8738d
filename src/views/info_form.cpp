#include "views/info_form.h"

#include "app/tform1.h"
#include "ui_tinfoform1.h"
#include "views/centre_on_screen.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

namespace {
constexpr int kButtonMargin = 8;
}

TInfoForm1::TInfoForm1(TForm1 *mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint
                           | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TInfoForm1>()), mainWindow(mainWindow)
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
    ui->CppWebBrowser1->navigate(QUrl::fromLocalFile(mainWindow->programDir() + QStringLiteral("info.htm")));
    mainWindow->setEnabled(false);
}

void TInfoForm1::FormClose() { mainWindow->setEnabled(true); }

void TInfoForm1::btnOKClick() { close(); }

void TInfoForm1::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    FormShow();
    QWidget::showEvent(event);
}

void TInfoForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}
