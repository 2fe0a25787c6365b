#pragma once

// The program's own files (configurations, the start file, the command
// list) as the file system holds them. A file name is its bytes, whatever
// their encoding: a configuration named in Latin-1 on an older system is
// listed, read and written like any other.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

// Well above the largest file the tables can give (32767 plates of 25
// values and 25 steps come to some 30 MB); anything bigger is no file of
// this program, and reading it would only cost memory.
inline constexpr std::size_t kMaxReadFileSize = std::size_t(64) << 20;

inline constexpr const char* kErrorFileNotFound = "File not found";
inline constexpr const char* kErrorNotRegularFile = "Not a regular file";
inline constexpr const char* kErrorFileTooLarge = "File too large (over 64 MB)";

// The whole of the regular file at `path`. A FIFO, a device or a folder is
// refused without waiting for it, and so is a file larger than
// kMaxReadFileSize; nothing is returned and `error` holds the description.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// Writes `data` to `path` without ever destroying the file that is there:
// the bytes go to a temporary file in the same folder, which replaces the
// old one only once every byte is on the disk. Where the folder takes no new
// file but the file itself may be written, it is written in place instead.
// Returns false and a description when any step fails (a full disk among
// them); the old file is then as it was and no temporary file is left.
bool writeFileSafely(const std::string& path, const std::string& data, std::string* error);

// The regular files of the current folder (links to them included, hidden
// ones not) whose name ends in `extension`, compared without regard to
// case; sorted by name.
std::vector<std::string> FilesInCurrentDir(std::string_view extension);

// How a window shows a file name: as UTF-8 when the name is valid UTF-8,
// else as Latin-1.
QString FileNameText(const std::string& name);

// The configuration files end in ".cfg" (lower case).
inline constexpr const char* kConfigFileExtension = ".cfg";
// The longest file name the file system takes, in bytes; the start file and
// the item reader take a name of this length back whole.
inline constexpr std::size_t kMaxFileNameBytes = 255;

inline constexpr const char* kFileTypeRule = "Filetype incorrect or missing; must be: ****.cfg";
inline constexpr const char* kFileNameLengthRule =
    "A configuration file name must not be longer than 255 bytes (a plain letter or digit takes one, an accented "
    "letter two)";
inline constexpr const char* kFileNameControlRule =
    "A configuration file name must not contain control characters (a line feed, a tab or the like)";
inline constexpr const char* kFileNameFolderRule = "A configuration file name must not contain a folder part (/)";
inline constexpr const char* kFileNameQuoteRule = "A configuration file name must not contain a double quote (\")";
inline constexpr const char* kFileNameDotRule = "A configuration file name must not begin with a dot";

// A character no file name of the program holds: a control character, or a
// line or paragraph separator (which break a list's line as a line feed does).
bool IsNameControlCharacter(QChar c);

// The one rule for the name of a configuration file, whether the program
// writes, reads, deletes or starts with it: a plain name of the working
// folder, at most kMaxFileNameBytes long, without control characters, a
// folder part or a double quote (the start file holds the name as a quoted
// string), not hidden, ending in ".cfg" with something before it. A name
// that follows it shows as one line of the file lists and comes back whole
// from the start file. Returns the rule `name` (the file's bytes) breaks, or
// an empty text when it follows them all.
QString ConfigFileNameFault(const std::string& name);

// The file a text box names: `shown` while the box still holds exactly
// FileNameText(shown) (a name chosen from a list or read from the start
// file), else the box's text in UTF-8 (a name the user typed).
std::string FileNameOfText(const QString& text, const std::string& shown);

} // namespace varnet
