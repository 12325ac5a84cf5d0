#pragma once
// A folder of one test's own for its files: made with a name no other run
// has (mkdtemp in the temporary folder, readable by its user only) when the
// object is made, and removed with everything in it when the object goes,
// however the test ends (a failed ASSERT returns early, and a fixture's
// member goes all the same). Test programs running side by side, and runs
// of other users on the same machine, never meet in it. Std-only.
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace testsupport {

class TempFolder
{
public:
    // The folder is named "qvs-<tag>-" and six random characters.
    explicit TempFolder(const std::string& tag = "test")
    {
        const std::string pattern = (std::filesystem::temp_directory_path() / ("qvs-" + tag + "-XXXXXX")).string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "cannot make a folder like " + pattern);
        path_ = name.data();
    }
    ~TempFolder() { Remove(); }
    TempFolder(TempFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    TempFolder& operator=(TempFolder&& other) noexcept
    {
        if (this != &other) {
            Remove();
            path_ = std::exchange(other.path_, {});
        }
        return *this;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string String() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    // A test may have taken the write permission from a folder inside: it is
    // given back first, so that nothing stays behind.
    void Remove() noexcept
    {
        if (path_.empty())
            return;
        namespace fs = std::filesystem;
        std::error_code ec, ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (it->symlink_status(ignored).type() == fs::file_type::directory)
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
        path_.clear();
    }

    std::filesystem::path path_;
};

// The working folder set to folder while the object lives, and put back
// when it goes, however the test ends.
class WorkingIn
{
public:
    explicit WorkingIn(const std::filesystem::path& folder) : before_(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingIn()
    {
        std::error_code ignored;
        std::filesystem::current_path(before_, ignored);
    }
    WorkingIn(const WorkingIn&) = delete;
    WorkingIn& operator=(const WorkingIn&) = delete;

private:
    std::filesystem::path before_;
};

} // namespace testsupport
