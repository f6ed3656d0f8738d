#pragma once
// Writes a telemetry record to a CSV file while it runs: the header at the start,
// then each reading as a row the moment it comes. A thread of its own writes and
// syncs each row, so a crash or a power cut loses at most the row being written
// and a slow or full disk never holds up the window. The first write that fails
// ends the recording and is reported once; what was written stays.
#include "telemetry/telemetry_quantity.h"

#include <QObject>
#include <QString>
#include <memory>

namespace telemetry {

class CsvRecorder : public QObject {
    Q_OBJECT

public:
    explicit CsvRecorder(QObject *parent = nullptr);
    // Ends a recording that still runs, keeping every row handed over so far.
    ~CsvRecorder() override;

    // Replaces any file at path. false (and failed) when it cannot be written.
    bool start(const QString &path);
    // One row stamped with the local time now; nothing while not recording.
    void write(Quantity quantity, double value);
    // Writes what is handed over, closes the file, and reports a failure it met, once.
    void stop();

    bool recording() const;
    // The file of the running or last recording and its rows written so far.
    QString path() const { return filePath; }
    long long rowsWritten() const;

signals:
    // Rows of the running recording reached the file.
    void written();
    void failed(const QString &reason);

private:
    class Writer;

    std::unique_ptr<Writer> writer;
    QString filePath;
    long long rowsOfLastRecording = 0;
    unsigned recordings = 0;
};

} // namespace telemetry
