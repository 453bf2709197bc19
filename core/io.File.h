#ifndef VELMO_CORE_IO_FILE_H
#define VELMO_CORE_IO_FILE_H

#include "core/Handle.h"
#include "core/String.h"
#include "core/exception.Location.h"

namespace velmo::core::io {

// A file of the system with the library's path rules. Not a stream itself (FileStream
// wraps it).
class File : public object::Object {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens an existing file; a missing one throws objectNotFound (4710).
    void open(const char* pszPath, bool bWritable);
    // Creates the file, replacing an existing one and making missing directories.
    void create(const char* pszPath, bool bShareWrite);
    void close();
    bool isOpen() const { return m_handle.get() != os::kNoHandle; }
    bool isOpenedForWriting() const { return m_bOpenedForWriting; }
    bool isOpenedForReading() const { return m_bOpenedForReading; }

    std::uint32_t getPosition();
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin);
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount);
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount);
    // Cuts or extends the file to nLength bytes; the position goes to its new end.
    void setLength(std::uint32_t nLength);

    const String& getPath() const { return m_path; }
    const String& getFullName() const { return m_fullName; }
    const String& getFullDirectory() const { return m_fullDirectory; }

    // An absolute path with "/" separators, "." and ".." resolved against the current
    // directory; with bNetworkForm, a local path becomes this host's administrative share.
    static void getFileFullName(const char* pszPath, String& out, bool bNetworkForm);
    // The part before the last separator ("" when there is none).
    static void getFileDirectory(const char* pszPath, String& out, bool bFullName);
    // The part behind the last separator.
    static void getFileName(const char* pszPath, String& out);
    static void createDirectory(const char* pszPath);
    static void deleteFile(const char* pszPath);

private:
    void storeNames(const char* pszPath);
    void checkOpen(const exception::Location& location) const;

    bool m_bOpenedForWriting = false;
    bool m_bOpenedForReading = false;
    String m_path;
    String m_directory;
    String m_name;
    String m_fullName;
    String m_fullDirectory;
    Handle m_handle;
};

}

#endif
