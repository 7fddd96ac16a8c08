// The per-user settings of the Linux program: the same application, section and key tree the
// Windows program keeps in the registry, in a text file (see linux_settings_text.h for its
// format). Every save writes the whole file again atomically, so a crash or a power loss leaves
// either the old file or the new one, never half of one.
#pragma once

#include <string>

#include "platform/linux/linux_settings_text.h"
#include "platform/settings.h"

namespace padwire::lin {

class SettingsFile final : public SettingsStore {
 public:
  // Loads the file; a missing one is an empty tree. A file that does not parse is renamed
  // aside (<path>.broken-YYYYMMDD-HHMMSS, never replacing an earlier one) and the program starts
  // from an empty tree; load_problem() then tells the user so. A file that exists but cannot be
  // read, nor moved aside, is never written over: every save fails.
  explicit SettingsFile(std::string path);

  // $XDG_CONFIG_HOME/padwire/settings.ini, else $HOME/.config/padwire/settings.ini.
  static std::string default_path();

  // Empty, or the message to show once: the file existed but was unusable, and where it was
  // kept.
  const std::string& load_problem() const { return problem_; }
  const std::string& path() const { return path_; }

  // The rules of the registry store: an empty application or section, one holding a backslash
  // or a control character, and an empty key are never looked up or stored (reads give the
  // fallback, saves fail).
  std::string get(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& fallback) override;
  // Stores the value and writes the file (its folder created 0700, the file 0600). When the
  // write fails the file and the tree both keep what they had, and the result is false.
  bool save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;

 private:
  void load();
  bool write(const std::string& text);

  std::string path_;
  SettingsTree tree_;
  std::string problem_;
  bool writable_ = true;
};

}  // namespace padwire::lin
