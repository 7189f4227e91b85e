#include "records/RecordFile.h"

#include "app/Environment.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// One error number the program knows: how the waiting rules take it and, where the
// program words it itself, its text.
struct KnownError {
    int number;
    FileState state;
    const char16_t* text;
};

const KnownError* knownError(int errorNumber);

} // namespace

FileResult FileResult::failure(int errorNumber, const QString& description) {
    FileResult result;
    result.state = FileState::Failed;
    result.errorNumber = errorNumber;
    result.description = description;
    return result;
}

RecordFile::~RecordFile() {
    close();
}

FileResult RecordFile::size(qint64* bytes) {
    *bytes = 0;
#ifdef Q_OS_WIN
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &length)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    *bytes = length.QuadPart;
#else
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        return FileResult::fromSystemError(errno);
    }
    *bytes = info.st_size;
#endif
    return FileResult::success();
}

#ifdef Q_OS_WIN

namespace {

constexpr int diskFullError = ERROR_DISK_FULL;

// The errors that mean something other than a plain failure: the text is the system's own.
const KnownError knownErrors[] = {
    {ERROR_SHARING_VIOLATION, FileState::Busy, nullptr},
    {ERROR_LOCK_VIOLATION, FileState::Busy, nullptr},
    {ERROR_IO_PENDING, FileState::Busy, nullptr},
    {ERROR_FILE_NOT_FOUND, FileState::Missing, nullptr},
    {ERROR_PATH_NOT_FOUND, FileState::Missing, nullptr},
    {ERROR_BAD_NETPATH, FileState::Missing, nullptr},
    {ERROR_BAD_NET_NAME, FileState::Missing, nullptr},
    {ERROR_NETNAME_DELETED, FileState::Missing, nullptr},
};

} // namespace

QString systemErrorText(int errorNumber) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errorNumber), 0, reinterpret_cast<wchar_t*>(&buffer), 0,
        nullptr);
    QString text = length ? QString::fromWCharArray(buffer, static_cast<int>(length)).trimmed()
                          : QStringLiteral("エラー %1").arg(errorNumber);
    if (buffer) {
        LocalFree(buffer);
    }
    return text;
}

FileResult RecordFile::open(const QString& path, Access access) {
    close();
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const DWORD desired = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE h =
        CreateFileW(name.c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    handle_ = h;
    return FileResult::success();
}

bool RecordFile::isOpen() const {
    return handle_ != nullptr;
}

void RecordFile::close() {
    if (!handle_) {
        return;
    }
    unlock();
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

FileResult RecordFile::tryLockExclusive() {
    OVERLAPPED from{};
    if (!LockFileEx(static_cast<HANDLE>(handle_),
                    LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                    &from)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    locked_ = true;
    return FileResult::success();
}

void RecordFile::unlock() {
    if (!locked_) {
        return;
    }
    OVERLAPPED from{};
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, MAXDWORD, MAXDWORD, &from);
    locked_ = false;
}

FileResult RecordFile::readAt(qint64 offset, char* buffer, qint64 length, qint64* got) {
    *got = 0;
    while (*got < length) {
        OVERLAPPED at{};
        const quint64 position = static_cast<quint64>(offset + *got);
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = static_cast<DWORD>(qMin<qint64>(length - *got, 1 << 30));
        DWORD read = 0;
        if (!ReadFile(static_cast<HANDLE>(handle_), buffer + *got, chunk, &read, &at)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            return FileResult::fromSystemError(static_cast<int>(error));
        }
        if (read == 0) {
            break;
        }
        *got += read;
    }
    return FileResult::success();
}

FileResult RecordFile::writeOnce(qint64 offset, const char* data, qint64 length, qint64* written) {
    *written = 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<quint64>(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<quint64>(offset) >> 32);
    DWORD done = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), data, static_cast<DWORD>(length), &done, &at)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    *written = done;
    return FileResult::success();
}

FileResult RecordFile::flushOnce() {
    if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    return FileResult::success();
}

FileResult RecordFile::truncateOnce(qint64 length) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    if (!SetFileInformationByHandle(static_cast<HANDLE>(handle_), FileEndOfFileInfo, &end,
                                    sizeof end)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    return FileResult::success();
}

#else

namespace {

constexpr int diskFullError = ENOSPC;

// Every error number the program explains in its own words, and what it means for a
// waiting rule: Busy for another copy holding the file, Missing for an unreachable one.
const KnownError knownErrors[] = {
    {ENOENT, FileState::Missing, u"ファイルまたはフォルダが見つかりません。"},
    {EACCES, FileState::Failed, u"ファイルを使う権限がありません。"},
    {EPERM, FileState::Failed, u"ファイルを使う権限がありません。"},
    {EROFS, FileState::Failed, u"書き込みのできない場所です。"},
    {ENOSPC, FileState::Failed, u"ディスクの空きがありません。"},
#ifdef EDQUOT
    {EDQUOT, FileState::Failed, u"ディスクの使用量の上限を超えました。"},
#endif
    {EFBIG, FileState::Failed, u"ファイルが大きすぎます。"},
    {EIO, FileState::Failed, u"ディスクの読み書きに失敗しました。"},
    {EAGAIN, FileState::Busy, u"ファイルがほかで使われています。"},
#if EWOULDBLOCK != EAGAIN
    {EWOULDBLOCK, FileState::Busy, u"ファイルがほかで使われています。"},
#endif
    {EBUSY, FileState::Busy, u"ファイルがほかで使われています。"},
    {ETXTBSY, FileState::Busy, u"ファイルがほかで使われています。"},
    {EISDIR, FileState::Failed, u"フォルダをファイルとして開こうとしました。"},
    {ENOTDIR, FileState::Failed, u"パスの途中がフォルダではありません。"},
    {EMFILE, FileState::Failed, u"開いているファイルが多すぎます。"},
    {ENFILE, FileState::Failed, u"開いているファイルが多すぎます。"},
    {ENAMETOOLONG, FileState::Failed, u"パスが長すぎます。"},
#ifdef ESTALE
    {ESTALE, FileState::Failed, u"ネットワーク上のファイルが見えなくなりました。"},
#endif
    {ENOLCK, FileState::Failed, u"ファイルの鍵をかけられません。"},
    {EINVAL, FileState::Failed, u"この操作はできません。"},
};

} // namespace

QString systemErrorText(int errorNumber) {
    if (const KnownError* known = knownError(errorNumber); known && known->text) {
        return QString::fromUtf16(known->text);
    }
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

FileResult RecordFile::open(const QString& path, Access access) {
    close();
    const QByteArray name = QFile::encodeName(path);
    const int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_CREAT | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(name.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return FileResult::fromSystemError(errno);
    }
    fd_ = fd;
    return FileResult::success();
}

bool RecordFile::isOpen() const {
    return fd_ >= 0;
}

void RecordFile::close() {
    if (fd_ < 0) {
        return;
    }
    unlock();
    ::close(fd_);
    fd_ = -1;
}

FileResult RecordFile::tryLockExclusive() {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    whole.l_start = 0;
    whole.l_len = 0; // to the end of the file, however far it grows
    whole.l_pid = 0; // required for open-file-description locks
    int rc = 0;
    do {
        rc = ::fcntl(fd_, F_OFD_SETLK, &whole);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        if (error == EACCES || error == EAGAIN) {
            FileResult busy = FileResult::fromSystemError(EAGAIN);
            busy.state = FileState::Busy;
            return busy;
        }
        return FileResult::fromSystemError(error);
    }
    locked_ = true;
    return FileResult::success();
}

void RecordFile::unlock() {
    if (!locked_) {
        return;
    }
    struct flock whole {};
    whole.l_type = F_UNLCK;
    whole.l_whence = SEEK_SET;
    whole.l_start = 0;
    whole.l_len = 0;
    whole.l_pid = 0;
    ::fcntl(fd_, F_OFD_SETLK, &whole);
    locked_ = false;
}

FileResult RecordFile::readAt(qint64 offset, char* buffer, qint64 length, qint64* got) {
    *got = 0;
    while (*got < length) {
        const ssize_t n = ::pread(fd_, buffer + *got, static_cast<size_t>(length - *got),
                                  static_cast<off_t>(offset + *got));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileResult::fromSystemError(errno);
        }
        if (n == 0) {
            break;
        }
        *got += n;
    }
    return FileResult::success();
}

FileResult RecordFile::writeOnce(qint64 offset, const char* data, qint64 length, qint64* written) {
    *written = 0;
    ssize_t n = -1;
    do {
        n = ::pwrite(fd_, data, static_cast<size_t>(length), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return FileResult::fromSystemError(errno);
    }
    *written = n;
    return FileResult::success();
}

FileResult RecordFile::flushOnce() {
    int rc = 0;
    do {
        rc = ::fdatasync(fd_);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINVAL) { // EINVAL: a file that has nothing to sync (a device)
        return FileResult::fromSystemError(errno);
    }
    return FileResult::success();
}

FileResult RecordFile::truncateOnce(qint64 length) {
    int rc = 0;
    do {
        rc = ::ftruncate(fd_, static_cast<off_t>(length));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        return FileResult::fromSystemError(errno);
    }
    return FileResult::success();
}

#endif

namespace {

const KnownError* knownError(int errorNumber) {
    for (const KnownError& known : knownErrors) {
        if (known.number == errorNumber) {
            return &known;
        }
    }
    return nullptr;
}

} // namespace

FileResult FileResult::fromSystemError(int errorNumber) {
    FileResult result = failure(errorNumber, systemErrorText(errorNumber));
    if (const KnownError* known = knownError(errorNumber)) {
        result.state = known->state;
    }
    return result;
}

FileFault RecordFile::faultOf(FileStep step) const {
    return faults_ ? faults_->fileFault(step) : FileFault{};
}

FileResult RecordFile::writeAt(qint64 offset, const char* data, qint64 length, qint64* written) {
    qint64 unused = 0;
    qint64& done = written ? *written : unused;
    done = 0;
    // A write cut short is carried on from where it stopped, as the system expects; only
    // a write that fails, or takes nothing, ends it.
    FileResult result;
    while (done < length && result.ok()) {
        const FileFault fault = faultOf(FileStep::Write);
        if (fault.errorNumber != 0) {
            result = FileResult::fromSystemError(fault.errorNumber);
            break;
        }
        qint64 want = length - done;
        if (fault.writtenBytes >= 0) {
            want = std::min<qint64>(want, fault.writtenBytes);
        }
        qint64 n = 0;
        result = writeOnce(offset + done, data + done, want, &n);
        if (result.ok() && n == 0) {
            result = FileResult::fromSystemError(diskFullError); // the disk takes no more
        }
        done += n;
    }
    if (result.ok() || done == 0) {
        return result;
    }
    // Part of it went: say so, with the system's reason for the rest.
    result.description =
        QStringLiteral("書き込みが途中で終わりました（%1 バイトのうち %2 バイト）。")
            .arg(length)
            .arg(done) +
        result.description;
    return result;
}

FileResult RecordFile::flushToDisk() {
    const FileFault fault = faultOf(FileStep::Flush);
    if (fault.errorNumber != 0) {
        return FileResult::fromSystemError(fault.errorNumber);
    }
    return flushOnce();
}

FileResult RecordFile::truncateTo(qint64 length) {
    const FileFault fault = faultOf(FileStep::Truncate);
    if (fault.errorNumber != 0) {
        return FileResult::fromSystemError(fault.errorNumber);
    }
    return truncateOnce(length);
}
