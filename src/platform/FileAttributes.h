#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// Attribute values as the Windows FILE_ATTRIBUTE_* numbers, so that code written against
// those numbers keeps its meaning. On POSIX they are stood in for:
//   hidden    the name begins with "." or is listed in its folder's ".hidden" file (the list
//             that GNOME Files, Nemo, Caja and Dolphin honour)
//   system    listed in ".hidden"
//   read-only a file without owner write permission (a directory never is: on Linux that
//             would lock its contents)
//   directory from stat
constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
constexpr std::uint32_t kFileAttributeHidden = 0x02;
constexpr std::uint32_t kFileAttributeSystem = 0x04;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kFileAttributeNormal = 0x80;  // none of the others
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// The attributes of what stands at the path, or kInvalidFileAttributes with *error set to
// the errno when it cannot be read. A trailing separator is ignored.
std::uint32_t GetFileAttributesOf(const std::string& path, int* error = nullptr);

// Replaces the attributes: hidden or system lists the name in ".hidden"; neither removes it
// (and the file, once empty); read-only takes every write permission from a file, its
// absence gives the owner write permission back. Directory and archive bits are ignored.
// Returns 0, or the errno of the failure (ENOENT for a missing path; EINVAL for a name
// that cannot be listed, such as one holding a line break, or the root folder).
int SetFileAttributesOf(const std::string& path, std::uint32_t attributes);

// The names listed in a folder's ".hidden" file, in file order; empty when there is none.
std::vector<std::string> ReadHiddenList(const std::string& folder);

}  // namespace vantrel
