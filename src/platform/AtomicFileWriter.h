#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A file written piece by piece into a temporary file beside the target, which takes the target's place only
// on commit(). Without a commit (an error, a cancel) the temporary file is removed and the target, if any,
// stays as it was.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False with the reason when the temporary file cannot be created.
    bool open(QString* error = nullptr);
    // Writes the bytes through; false with the reason on any failure (a full disk too).
    bool write(const QByteArray& bytes, QString* error = nullptr);
    bool commit(QString* error = nullptr);

private:
    QSaveFile m_file;
    bool m_failed = false;
};
