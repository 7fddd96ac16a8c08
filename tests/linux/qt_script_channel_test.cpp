// The test program's script channel: lines arrive whole however they are written, and replies
// go back one a line.
#include "platform/qt/qt_script_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace padwire::qt {
namespace {

TEST(ScriptChannel, SplitsLinesAcrossWritesAndAnswersEach) {
  QTemporaryDir dir;
  const std::string commands = dir.filePath(QStringLiteral("commands")).toStdString();
  const std::string replies = dir.filePath(QStringLiteral("replies")).toStdString();
  ASSERT_EQ(mkfifo(commands.c_str(), 0600), 0);
  std::vector<std::string> lines;
  ScriptChannel* self = nullptr;
  ScriptChannel channel(commands, replies, [&](const std::string& line) {
    lines.push_back(line);
    self->reply("ok " + line);
  });
  self = &channel;
  ASSERT_TRUE(channel.is_open());

  const int writer = open(commands.c_str(), O_WRONLY);
  ASSERT_GE(writer, 0);
  for (const char* part : {"axis 0 -3", "2768\r\nbutton 1 1\n\n", "hat 0 "}) {
    ASSERT_GT(write(writer, part, std::strlen(part)), 0);
    QCoreApplication::processEvents();
  }
  close(writer);  // another writer may come: the channel keeps listening
  QCoreApplication::processEvents();
  EXPECT_EQ(lines, (std::vector<std::string>{"axis 0 -32768", "button 1 1"}));

  std::ifstream written(replies);
  std::string all((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, "ok axis 0 -32768\nok button 1 1\n");
}

}  // namespace
}  // namespace padwire::qt
