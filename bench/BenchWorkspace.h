#pragma once
// What the benchmarks that write files share: a temporary folder removed with its files at the
// end, and a stop that names the failed step instead of timing failures.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace mrv::bench {

// Prints "<program>: <what>" and aborts.
[[noreturn]] inline void Fail(const char* program, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", program, what);
    std::abort();
}

class Workspace {
public:
    // A fresh folder "<prefix>XXXXXX" in the system's temporary folder.
    explicit Workspace(const char* prefix)
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
        if (!mkdtemp(tmpl.data()))
            Fail(prefix, "no temporary folder");
        dir = tmpl;
    }
    ~Workspace()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string File(const char* name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};

} // namespace mrv::bench
