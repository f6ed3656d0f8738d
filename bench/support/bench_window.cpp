#include "support/bench_window.h"

#include "app/tform1.h"

#include "comm/connection.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace bench {
namespace {

template <typename Control>
Control *find(const app::TForm1 &form, const QString &name)
{
    return form.findChild<Control *>(name);
}

QPushButton *connectButton(const app::TForm1 &form, int link)
{
    return find<QPushButton>(form, QStringLiteral("btnConnect%1").arg(link));
}

} // namespace

bool writeSettingsFile(const QString &programDir)
{
    if (!QDir(programDir).mkpath(QStringLiteral("RFS")))
        return false;
    QFile file(programDir + QStringLiteral("/RFS/STARTW2.stw"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const char *line : {"16 751 2251 ", "17 752 2252 ", "18 753 2253 ", "19 754 2254 ", "20 1175 1825 ",
                             "127.0.0.1 10001 ", "127.0.0.1 10002 ", "127 0 0 1 "})
        file.write(QByteArray(line) + "\r\n");
    return file.flush();
}

BenchWindow::BenchWindow()
{
    if (!dir.isValid() || !writeSettingsFile(dir.path()))
        return;
    form = std::make_unique<app::TForm1>(dir.path());
    form->show();
}

BenchWindow::~BenchWindow() = default;

bool BenchWindow::openSerial(int link, const std::string &device)
{
    find<QRadioButton>(*form, QStringLiteral("rbtnSeriell%1").arg(link))->click();
    find<QComboBox>(*form, QStringLiteral("cbxDeviceName%1").arg(link))->setEditText(QString::fromStdString(device));
    connectButton(*form, link)->click();
    return connectButton(*form, link)->text() == QStringLiteral("Trennen");
}

bool BenchWindow::closeSerial(int link)
{
    connectButton(*form, link)->click();
    return connectButton(*form, link)->text() == QStringLiteral("Verbinden");
}

bool BenchWindow::connectTcp(int link, int port)
{
    find<QRadioButton>(*form, QStringLiteral("rbtnTCP%1").arg(link))->click();
    find<QLineEdit>(*form, QStringLiteral("edtTCP_IP%1").arg(link))->setText(QStringLiteral("127.0.0.1"));
    find<QLineEdit>(*form, QStringLiteral("edtTCP_Port%1").arg(link))->setText(QString::number(port));
    QEventLoop connecting;
    QObject::connect(find<comm::Connection>(*form, QStringLiteral("connection%1").arg(link)),
                     &comm::Connection::opened, &connecting, &QEventLoop::quit);
    QTimer::singleShot(5000, &connecting, &QEventLoop::quit);
    connectButton(*form, link)->click();
    connecting.exec();
    return connectButton(*form, link)->text() == QStringLiteral("TCP aktiv");
}

QSlider *BenchWindow::jointSlider(int joint) const
{
    return find<QSlider>(*form, QStringLiteral("trbServo%1").arg(joint));
}

QTimer *BenchWindow::timer(const char *objectName) const
{
    return find<QTimer>(*form, QLatin1String(objectName));
}

} // namespace bench
