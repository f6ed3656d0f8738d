#include "sim_options.h"

#include "arm/arm_profile_file.h"

#include <QCommandLineParser>
#include <QFile>
#include <QCoreApplication>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace sim {

namespace {

[[noreturn]] void fail(const QString &message)
{
    std::cerr << "velmora-sim: " << message.toStdString() << '\n';
    std::exit(2);
}

quint16 portValue(const QCommandLineParser &parser, const QString &option)
{
    bool ok = false;
    const uint port = parser.value(option).toUInt(&ok);
    if (!ok || port > 65535)
        fail(QStringLiteral("--%1 needs a port number 0..65535").arg(option));
    return static_cast<quint16>(port);
}

std::array<int, 5> jointChannelsValue(const QString &text)
{
    const QStringList parts = text.split(u',');
    std::array<int, 5> channels{};
    if (parts.size() != int(channels.size()))
        fail(QStringLiteral("--joints needs five channels, e.g. 16,17,18,19,20"));
    for (std::size_t i = 0; i < channels.size(); ++i) {
        bool ok = false;
        channels[i] = parts[int(i)].trimmed().toInt(&ok);
        if (!ok || channels[i] < 0 || channels[i] > 31)
            fail(QStringLiteral("--joints: channels are 0..31"));
    }
    return channels;
}

arm::ArmProfile armProfileValue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("--arm-profile: %1: %2").arg(path, file.errorString()));
    arm::ArmProfile profile;
    if (const auto why = arm::parseProfile(file.readAll().toStdString(), profile))
        fail(QStringLiteral("--arm-profile: %1: %2").arg(path, QString::fromStdString(why->german())));
    return profile;
}

} // namespace

bool windowRequested(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            return true;
    }
    return false;
}

SimOptions parseSimOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the robot for the Velmora console: an SSC-32 servo controller on the arm link "
        "and the chassis board on the chassis link, each behind a TCP server like the robot's "
        "device server and, on request, behind a pseudo-terminal.\n"
        "Prints one line per endpoint (\"arm-tcp 127.0.0.1:10001\", \"arm-pty /dev/pts/5\", "
        "the same for chassis), then \"ready\", then a status line every second."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("arm-port"), QStringLiteral("TCP port of the arm link (default 10001; 0 = any free one)."),
         QStringLiteral("port"), QStringLiteral("10001")},
        {QStringLiteral("chassis-port"),
         QStringLiteral("TCP port of the chassis link (default 10002; 0 = any free one)."), QStringLiteral("port"),
         QStringLiteral("10002")},
        {QStringLiteral("bind"), QStringLiteral("Address the TCP servers listen on (default 127.0.0.1)."),
         QStringLiteral("address"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("pty"), QStringLiteral("Also offer both links on pseudo-terminals.")},
        {QStringLiteral("pty-link"),
         QStringLiteral("Offer the pseudo-terminals also as the symbolic links PREFIX-arm and PREFIX-chassis, "
                       "which a simulator started again with the same PREFIX points at its new terminals "
                       "(implies --pty)."),
         QStringLiteral("prefix")},
        {QStringLiteral("window"), QStringLiteral("Show the arm joints and the chassis in a window.")},
        {QStringLiteral("ignore-q"),
         QStringLiteral("Leave the SSC-32 move-status query Q unanswered, as a controller or device server "
                       "that does not know it.")},
        {QStringLiteral("joints"),
         QStringLiteral("SSC-32 channels of the five joints, base to gripper, for the window "
                       "(default 16,17,18,19,20)."),
         QStringLiteral("list"), QStringLiteral("16,17,18,19,20")},
        {QStringLiteral("arm-profile"),
         QStringLiteral("The arm's profile (a *.arm file the console exports) for the window's drawing and "
                       "the tip in the status line (default: the console's default profile)."),
         QStringLiteral("file")},
        {QStringLiteral("log"),
         QStringLiteral("Write every received line with its time (ms since start) and link."),
         QStringLiteral("file")},
    });
    parser.process(app);

    SimOptions options;
    options.armPort = portValue(parser, QStringLiteral("arm-port"));
    options.chassisPort = portValue(parser, QStringLiteral("chassis-port"));
    if (!options.bindAddress.setAddress(parser.value(QStringLiteral("bind"))))
        fail(QStringLiteral("--bind needs an IP address"));
    options.ptyLinkPrefix = parser.value(QStringLiteral("pty-link"));
    options.pty = parser.isSet(QStringLiteral("pty")) || !options.ptyLinkPrefix.isEmpty();
    options.window = parser.isSet(QStringLiteral("window"));
    options.ignoreMoveStatus = parser.isSet(QStringLiteral("ignore-q"));
    options.jointChannels = jointChannelsValue(parser.value(QStringLiteral("joints")));
    options.logPath = parser.value(QStringLiteral("log"));
    if (parser.isSet(QStringLiteral("arm-profile")))
        options.armProfile = armProfileValue(parser.value(QStringLiteral("arm-profile")));
    return options;
}

} // namespace sim
