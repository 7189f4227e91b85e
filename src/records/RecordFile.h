#pragma once

#include <QString>
#include <QtGlobal>

class Environment;
enum class FileStep;
struct FileFault;

// How one step of work on a shared file ended. Busy: another copy holds the file (its
// lock, or the system says "try again"); Missing: the file's folder cannot be reached;
// Failed: anything else.
enum class FileState { Ok, Busy, Missing, Failed };

struct FileResult {
    FileState state = FileState::Ok;
    int errorNumber = 0; // the system's error number (errno, or GetLastError on Windows)
    QString description; // readable, Japanese

    bool ok() const { return state == FileState::Ok; }
    static FileResult success() { return {}; }
    static FileResult fromSystemError(int errorNumber);
    static FileResult failure(int errorNumber, const QString& description);
};

// Readable Japanese description of a system error number.
QString systemErrorText(int errorNumber);

// A file of fixed-length records opened for one operation and closed when done (or when
// the object goes). The lock is the one every copy of the program takes to append: an
// exclusive lock on the whole file, held by this open file (an open-file-description lock
// on Linux, LockFileEx on Windows), so a close of another handle of the same file in this
// process never drops it.
class RecordFile {
public:
    enum class Access { Read, ReadWrite };

    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens the file, creating it empty when there is none.
    FileResult open(const QString& path, Access access);
    bool isOpen() const;
    void close();

    // Takes the exclusive whole-file lock if it can be had at once; Busy otherwise.
    FileResult tryLockExclusive();
    void unlock();

    FileResult size(qint64* bytes);
    // Reads up to length bytes at offset; fewer only at the end of the file.
    FileResult readAt(qint64 offset, char* buffer, qint64 length, qint64* got);
    // Writes all length bytes at offset; a write the system cuts short is carried on, and
    // one that cannot go on is a failure. written, when given, receives how many bytes
    // reached the file (also on failure).
    FileResult writeAt(qint64 offset, const char* data, qint64 length, qint64* written = nullptr);
    // Makes what was written durable on the disk.
    FileResult flushToDisk();
    // Cuts the file to length bytes (or extends it with zeros).
    FileResult truncateTo(qint64 length);

    // The steps that change the file ask faults first what the disk makes of them (the
    // program's environments let every step go; a test's makes one fail). Null: none.
    void setFaults(Environment* faults) { faults_ = faults; }

private:
    FileFault faultOf(FileStep step) const;
    FileResult writeOnce(qint64 offset, const char* data, qint64 length, qint64* written);
    FileResult flushOnce();
    FileResult truncateOnce(qint64 length);

    Environment* faults_ = nullptr;
#ifdef Q_OS_WIN
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool locked_ = false;
};
