#include "telemetry/csv_recorder.h"

#include "telemetry/telemetry_csv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace telemetry {

namespace {

// Spreadsheets take a file with this mark for UTF-8 ("°C" in the header).
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// From the system's cache to the disk. A file kind that cannot be synced (a
// pipe, a device) has nothing more to lose.
bool syncToDisk(int descriptor)
{
#ifdef _WIN32
    return _commit(descriptor) == 0;
#else
    return ::fdatasync(descriptor) == 0 || errno == EINVAL;
#endif
}

LocalTime localTimeNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
}

QString writeFailure(const QString &path, const QString &why)
{
    return QCoreApplication::translate("telemetry::CsvRecorder",
                                       "Die Aufzeichnung wurde beendet: %1 lässt sich nicht weiter beschreiben (%2). "
                                       "Die bisher geschriebenen Zeilen bleiben erhalten.")
        .arg(QDir::toNativeSeparators(path), why);
}

} // namespace

class CsvRecorder::Writer {
public:
    // file is open and holds the header; tell is called on the writing thread,
    // with true after each batch of rows that reached the file, with false once
    // a write failed.
    Writer(std::unique_ptr<QFile> file, std::function<void(bool)> tell)
        : file(std::move(file)), tell(std::move(tell)), thread([this] { run(); })
    {
    }

    ~Writer() { finish(); }

    // Writes what is still pending, unless a write failed, and ends the thread.
    void finish()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_one();
        if (thread.joinable())
            thread.join();
    }

    void add(std::string row)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            pending.push_back(std::move(row));
        }
        wake.notify_one();
    }

    std::optional<QString> failed() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return reason;
    }

    std::atomic<long long> rows{0};

private:
    void run()
    {
        std::vector<std::string> batch;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return stopping || !pending.empty(); });
                if (pending.empty())
                    return;
                batch.swap(pending);
            }
            for (const std::string &row : batch) {
                if (file->write(row.data(), qint64(row.size())) != qint64(row.size()))
                    return fail(file->errorString());
                ++rows; // handed to the system: a crash of the program no longer loses it
            }
            if (!syncToDisk(file->handle()))
                return fail(qt_error_string(errno));
            tell(true);
            batch.clear();
        }
    }

    void fail(const QString &why)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            reason = writeFailure(file->fileName(), why);
        }
        tell(false);
    }

    std::unique_ptr<QFile> file;
    std::function<void(bool)> tell;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::string> pending;
    bool stopping = false;
    std::optional<QString> reason;
    std::thread thread; // last: starts once everything it uses is in place
};

CsvRecorder::CsvRecorder(QObject *parent) : QObject(parent) {}

CsvRecorder::~CsvRecorder() = default;

bool CsvRecorder::start(const QString &path)
{
    stop();
    filePath = path;
    rowsOfLastRecording = 0;
    // Unbuffered: every row goes to the system as one write, and a failing
    // write is seen at that row.
    auto file = std::make_unique<QFile>(path);
    const std::string header = kUtf8Mark + csvHeader() + std::string(kCsvLineEnd);
    const bool opened = file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    if (!opened || file->write(header.data(), qint64(header.size())) != qint64(header.size())) {
        emit failed((opened ? tr("Die Aufzeichnung kann nicht beginnen: %1 lässt sich nicht beschreiben (%2).")
                            : tr("Die Aufzeichnung kann nicht beginnen: %1 lässt sich nicht anlegen (%2)."))
                        .arg(QDir::toNativeSeparators(path), file->errorString()));
        return false;
    }
    const unsigned recording = ++recordings;
    writer = std::make_unique<Writer>(std::move(file), [this, recording](bool wrote) {
        QMetaObject::invokeMethod(
            this,
            [this, recording, wrote] {
                if (recording != recordings)
                    return;
                if (wrote)
                    emit written();
                else
                    stop();
            },
            Qt::QueuedConnection);
    });
    return true;
}

void CsvRecorder::write(Quantity quantity, double value)
{
    if (writer)
        writer->add(csvRow(localTimeNow(), quantity, value) + std::string(kCsvLineEnd));
}

bool CsvRecorder::recording() const { return writer != nullptr; }

long long CsvRecorder::rowsWritten() const { return writer ? writer->rows.load() : rowsOfLastRecording; }

// Joins the writer, then reports a failure it met, once: whichever comes first of
// the writer's own call and a stop finds it; the other finds no writer left, or
// the writer of a later recording, which it leaves alone.
void CsvRecorder::stop()
{
    if (!writer)
        return;
    const std::unique_ptr<Writer> ended = std::move(writer);
    ended->finish();
    const std::optional<QString> reason = ended->failed();
    rowsOfLastRecording = ended->rows.load();
    if (reason)
        emit failed(*reason);
}

} // namespace telemetry
