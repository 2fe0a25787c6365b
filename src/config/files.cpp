#include "config/files.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnet {

namespace {

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now; a close can report a write that failed late (NFS, quotas).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

std::string lastError()
{
    return std::strerror(errno);
}

bool writeAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// A new file next to `path` that nobody else uses, created with the
// permissions a new file gets here (0666 less the umask); its name is
// hidden and does not end in a configuration's extension.
int createTemporary(const std::string& path, std::string& temporary)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    // Short enough that the suffix cannot push it over a name's length limit.
    const std::string base = path.substr(folder.size()).substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + '.' + base + '.' + std::to_string(QRandomGenerator::global()->generate()) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// For a folder where no new file may be made while the file itself may be
// written (a shared cockpit folder): the file is written in place. Its old
// bytes are put back when the write fails, so that it is not left cut off.
bool writeInPlace(const std::string& path, const std::string& data)
{
    std::string error;
    const std::optional<std::string> old = ReadWholeFile(path, error);
    if (!old) {
        errno = EACCES;  // what the folder said
        return false;
    }
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.get() < 0)
        return false;
    if (writeAll(file.get(), data) && ::ftruncate(file.get(), off_t(data.size())) == 0 && ::fsync(file.get()) == 0)
        return file.close();
    const int failure = errno;
    const bool restored = ::lseek(file.get(), 0, SEEK_SET) == 0 && writeAll(file.get(), *old) &&
                          ::ftruncate(file.get(), off_t(old->size())) == 0;
    static_cast<void>(restored);  // nothing more can be done when it fails
    errno = failure;
    return false;
}

bool endsWithIgnoringCase(std::string_view name, std::string_view ending)
{
    return name.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(), name.end() - long(ending.size()), [](char a, char b) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(a) == lower(b);
           });
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error)
{
    // Opened without waiting, so that a FIFO cannot hold the program until
    // something writes to it; it is refused below like any other non-file.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        error = errno == ENOENT ? kErrorFileNotFound : lastError();
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        error = lastError();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = kErrorNotRegularFile;
        return std::nullopt;
    }
    if (std::size_t(status.st_size) > kMaxReadFileSize) {
        error = kErrorFileTooLarge;
        return std::nullopt;
    }
    // The file may grow while it is read: the bound holds for what is read.
    std::string data(std::size_t(status.st_size) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == data.size()) {
            if (size > kMaxReadFileSize) {
                error = kErrorFileTooLarge;
                return std::nullopt;
            }
            data.resize(std::min(2 * size, kMaxReadFileSize + 1));
        }
        const ssize_t n = ::read(file.get(), data.data() + size, data.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = lastError();
            return std::nullopt;
        }
        if (n == 0)
            break;
        size += std::size_t(n);
    }
    data.resize(size);
    return data;
}

bool writeFileSafely(const std::string& path, const std::string& data, std::string* error)
{
    std::string temporary;
    Descriptor file(createTemporary(path, temporary));
    bool written = false;
    if (file.get() >= 0) {
        // A file that is replaced keeps its permissions.
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(file.get(), old.st_mode & 07777);
        written = writeAll(file.get(), data) && ::fsync(file.get()) == 0 && file.close() &&
                  ::rename(temporary.c_str(), path.c_str()) == 0;
        if (!written) {
            const int failure = errno;
            ::unlink(temporary.c_str());
            errno = failure;
        }
    } else if (errno == EACCES || errno == EPERM || errno == EROFS) {
        const int refused = errno;
        written = ::access(path.c_str(), W_OK) == 0 ? writeInPlace(path, data) : (errno = refused, false);
    }
    if (!written && error)
        *error = std::strerror(errno);
    return written;
}

bool IsNameControlCharacter(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

QString ConfigFileNameFault(const std::string& name)
{
    if (name.size() > kMaxFileNameBytes)
        return QString::fromLatin1(kFileNameLengthRule);
    // On the text the windows show, so that the controls of Latin-1 (bytes
    // 0x80-0x9F) count as well as those of UTF-8; a line or paragraph
    // separator breaks a list line as a line feed does.
    const QString text = FileNameText(name);
    if (std::any_of(text.begin(), text.end(), IsNameControlCharacter))
        return QString::fromLatin1(kFileNameControlRule);
    if (name.find('/') != std::string::npos)
        return QString::fromLatin1(kFileNameFolderRule);
    if (name.find('"') != std::string::npos)
        return QString::fromLatin1(kFileNameQuoteRule);
    const std::string_view extension = kConfigFileExtension;
    if (name.size() <= extension.size() || !std::string_view(name).ends_with(extension))
        return QString::fromLatin1(kFileTypeRule);
    if (name.front() == '.')
        return QString::fromLatin1(kFileNameDotRule);
    return {};
}

std::vector<std::string> FilesInCurrentDir(std::string_view extension)
{
    std::vector<std::string> names;
    DIR* folder = ::opendir(".");
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        struct stat status {};
        if (name.front() != '.' && endsWithIgnoringCase(name, extension) && ::stat(name.c_str(), &status) == 0 &&
            S_ISREG(status.st_mode))
            names.push_back(name);
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

QString FileNameText(const std::string& name)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(name.data(), qsizetype(name.size())));
    return utf8.hasError() ? QString::fromLatin1(name.data(), qsizetype(name.size())) : text;
}

std::string FileNameOfText(const QString& text, const std::string& shown)
{
    if (text == FileNameText(shown))
        return shown;
    return text.toUtf8().toStdString();
}

} // namespace varnet
