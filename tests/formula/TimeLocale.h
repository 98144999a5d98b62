// A German-like LC_TIME without AM / PM strings, built once per test program with
// localedef in UTF-8 and in ISO-8859-1, and set for a scope. ok() is false where
// localedef or its character maps are missing.
#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include <unistd.h>

namespace zentrik::testing {

inline constexpr const char* kTimeLocaleSource = R"(LC_TIME
abday "So";"Mo";"Di";"Mi";"Do";"Fr";"Sa"
day "Sonntag";"Montag";"Dienstag";"Mittwoch";"Donnerstag";"Freitag";"Samstag"
abmon "Jan";"Feb";"M<U00E4>r";"Apr";"Mai";"Jun";"Jul";"Aug";"Sep";"Okt";"Nov";"Dez"
mon "Januar";"Februar";"M<U00E4>rz";"April";"Mai";"Juni";"Juli";"August";"September";"Oktober";"November";"Dezember"
d_t_fmt "%a %d %b %Y %T"
d_fmt "%d.%m.%Y"
t_fmt "%T"
am_pm "";""
t_fmt_ampm ""
END LC_TIME
)";

// The folder holding zz_ZZ.utf8 and zz_ZZ.iso88591 while the test program runs; its
// path is empty when they cannot be made.
class TimeLocaleFolder {
 public:
  TimeLocaleFolder() : path_(std::filesystem::temp_directory_path() / ("zentrik-time-locale-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
    std::ofstream(path_ / "source") << kTimeLocaleSource;
    for (const char* charset : {"UTF-8", "ISO-8859-1"}) {
      const std::filesystem::path built = path_ / (charset[0] == 'U' ? "zz_ZZ.utf8" : "zz_ZZ.iso88591");
      // -c: the categories other than LC_TIME are left out on purpose
      const std::string command = "localedef -c -i '" + (path_ / "source").string() + "' -f " + charset + " '" +
                                  built.string() + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) == -1 || !std::filesystem::exists(built / "LC_TIME")) usable_ = false;
    }
  }
  ~TimeLocaleFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::filesystem::path path() const { return usable_ ? path_ : std::filesystem::path(); }

 private:
  std::filesystem::path path_;
  bool usable_ = true;
};

// Sets LC_TIME to the built locale in `charset` ("utf8" or "iso88591") for a scope.
class ScopedTimeLocale {
 public:
  explicit ScopedTimeLocale(const char* charset) : old_(std::setlocale(LC_TIME, nullptr)) {
    static const TimeLocaleFolder built;
    const std::filesystem::path folder = built.path();
    if (folder.empty()) return;
    std::optional<std::string> old_path;
    if (const char* path = std::getenv("LOCPATH")) old_path = path;
    setenv("LOCPATH", folder.c_str(), 1);
    ok_ = std::setlocale(LC_TIME, ("zz_ZZ." + std::string(charset)).c_str()) != nullptr;
    if (old_path)
      setenv("LOCPATH", old_path->c_str(), 1);
    else
      unsetenv("LOCPATH");
  }
  ~ScopedTimeLocale() { std::setlocale(LC_TIME, old_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string old_;
  bool ok_ = false;
};

}  // namespace zentrik::testing
