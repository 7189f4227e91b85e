#include "records/RecordFile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

FileResult FileResult::fromSystemError(int errorNumber) {
    FileResult result = failure(errorNumber, systemErrorText(errorNumber));
    switch (errorNumber) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING:
        result.state = FileState::Busy;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
        result.state = FileState::Missing;
        break;
    default:
        break;
    }
    return result;
}

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

FileResult RecordFile::writeAt(qint64 offset, const char* data, qint64 length) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<quint64>(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<quint64>(offset) >> 32);
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), data, static_cast<DWORD>(length), &written, &at)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    if (written != static_cast<DWORD>(length)) {
        return FileResult::failure(ERROR_DISK_FULL,
                                   QStringLiteral("書き込みが途中で終わりました（%1 バイトのうち "
                                                  "%2 バイト）。")
                                       .arg(length)
                                       .arg(written));
    }
    return FileResult::success();
}

FileResult RecordFile::flushToDisk() {
    if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    return FileResult::success();
}

FileResult RecordFile::truncateTo(qint64 length) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    if (!SetFileInformationByHandle(static_cast<HANDLE>(handle_), FileEndOfFileInfo, &end,
                                    sizeof end)) {
        return FileResult::fromSystemError(static_cast<int>(GetLastError()));
    }
    return FileResult::success();
}

#else

FileResult FileResult::fromSystemError(int errorNumber) {
    FileResult result = failure(errorNumber, systemErrorText(errorNumber));
    switch (errorNumber) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EBUSY:
    case ETXTBSY:
        result.state = FileState::Busy;
        break;
    case ENOENT:
        result.state = FileState::Missing;
        break;
    default:
        break;
    }
    return result;
}

QString systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダが見つかりません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("ファイルを使う権限がありません。");
    case EROFS:
        return QStringLiteral("書き込みのできない場所です。");
    case ENOSPC:
        return QStringLiteral("ディスクの空きがありません。");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("ディスクの使用量の上限を超えました。");
#endif
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました。");
    case EAGAIN:
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ファイルがほかで使われています。");
    case EISDIR:
        return QStringLiteral("フォルダをファイルとして開こうとしました。");
    case ENOTDIR:
        return QStringLiteral("パスの途中がフォルダではありません。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。");
    case ENAMETOOLONG:
        return QStringLiteral("パスが長すぎます。");
#ifdef ESTALE
    case ESTALE:
        return QStringLiteral("ネットワーク上のファイルが見えなくなりました。");
#endif
    case ENOLCK:
        return QStringLiteral("ファイルの鍵をかけられません。");
    case EINVAL:
        return QStringLiteral("この操作はできません。");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
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

FileResult RecordFile::writeAt(qint64 offset, const char* data, qint64 length) {
    ssize_t n = -1;
    do {
        n = ::pwrite(fd_, data, static_cast<size_t>(length), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return FileResult::fromSystemError(errno);
    }
    if (n != length) {
        return FileResult::failure(
            ENOSPC, QStringLiteral("書き込みが途中で終わりました（%1 バイトのうち %2 バイト）。")
                        .arg(length)
                        .arg(n));
    }
    return FileResult::success();
}

FileResult RecordFile::flushToDisk() {
    int rc = 0;
    do {
        rc = ::fdatasync(fd_);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINVAL) { // EINVAL: a file that has nothing to sync (a device)
        return FileResult::fromSystemError(errno);
    }
    return FileResult::success();
}

FileResult RecordFile::truncateTo(qint64 length) {
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
