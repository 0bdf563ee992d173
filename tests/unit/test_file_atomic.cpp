// test_file_atomic.cpp: the crash-safe write. A child process dies at each
// stage of a write (half the bytes written, right before the rename), as a
// crash would; the old content must still be there, whole. Also the
// piecewise writer: nothing shows before Commit, Abandon keeps the old file.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "file_test_support.h"
#include "common/support_file.h"

using namespace filetest;

namespace {

using FileAtomicTest = ScratchTest;

AtomicWriteStage g_die_at;

void DieAt(AtomicWriteStage stage) {
  if (stage == g_die_at) ::_exit(42);
}

TEST_F(FileAtomicTest, ACrashAtAnyStageLeavesTheOldContent) {
  const std::string old_content(100000, 'o');
  const std::string new_content(300000, 'n');
  for (AtomicWriteStage stage : {AtomicWriteStage::HalfWritten, AtomicWriteStage::BeforeRename}) {
    WriteFile("save.dat", old_content);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      g_die_at = stage;
      File_SetAtomicWriteProbe(DieAt);
      File_WriteAtomic("save.dat", new_content.data(), new_content.size());
      ::_exit(0);  // not reached when the probe works
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42) << "the write did not pass the stage";
    EXPECT_EQ(ReadFile("save.dat"), old_content);
  }
  // Without a crash the new content replaces the old one whole.
  ASSERT_TRUE(File_WriteAtomic("save.dat", new_content.data(), new_content.size()));
  EXPECT_EQ(ReadFile("save.dat"), new_content);
}

TEST_F(FileAtomicTest, PiecewiseWriterShowsNothingBeforeCommit) {
  WriteFile("f.txt", "old");
  ::chmod("f.txt", 0600);
  {
    TAtomicFile file;
    ASSERT_TRUE(file.Begin("f.txt"));
    ASSERT_TRUE(file.Write("ne", 2));
    EXPECT_EQ(ReadFile("f.txt"), "old");
    ASSERT_TRUE(file.Write("w", 1));
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(ReadFile("f.txt"), "new");
  struct stat st;
  ASSERT_EQ(::stat("f.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  {
    TAtomicFile file;
    ASSERT_TRUE(file.Begin("f.txt"));
    file.Write("lost", 4);
  }  // destroyed uncommitted
  EXPECT_EQ(ReadFile("f.txt"), "new");
  int files = 0;
  for (const auto& entry : fs::directory_iterator(".")) files += entry.path().filename() != "settings.db";
  EXPECT_EQ(files, 1);  // no temporary file left behind
  TAtomicFile nowhere;
  EXPECT_FALSE(nowhere.Begin("missing-folder/f.txt"));
  EXPECT_FALSE(nowhere.Commit());
}

}  // namespace
