// function_file.cpp: the binary files (32 slots), the text files (32 slots)
// and the legacy single text file of game code. Ids are 1 to 32, reused from
// the lowest free slot; files stay open until game code closes them or the
// program ends (Files_CloseAll, which also commits text files being
// written: until then their names keep the old content).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>

#include "code/code_function.h"
#include "files/file_open.h"
#include "files/file_text.h"
#include "files/function_file_util.h"

using namespace files_detail;

namespace {

constexpr int kSlots = 32;
constexpr const char* kMaximum = "Cannot open another file (maximum exceeded).";

// --- binary files ----------------------------------------------------------

struct BinarySlot {
  FILE* file = nullptr;
  // C streams need a seek between a read and a write in either order.
  enum { None, Read, Write } last = None;
};

std::array<BinarySlot, kSlots + 1>& BinarySlots() {
  static std::array<BinarySlot, kSlots + 1> slots;
  return slots;
}

// The open slot of id, else null.
BinarySlot* OpenBinary(const RValue& id) {
  int64_t n = RoundOr(id.val, -1);
  if (n < 1 || n > kSlots || !BinarySlots()[n].file) return nullptr;
  return &BinarySlots()[n];
}

void Switch(BinarySlot& slot, decltype(BinarySlot::last) next) {
  if (slot.last != BinarySlot::None && slot.last != next) std::fseek(slot.file, 0, SEEK_CUR);
  slot.last = next;
}

void F_FileBinOpen(RValue& result, CInstance*, CInstance*, int, RValue* a) {
  SetReal(result, -1);
  int free_slot = 0;
  for (int i = 1; i <= kSlots && free_slot == 0; ++i)
    if (!BinarySlots()[i].file) free_slot = i;
  if (free_slot == 0) return Report(kMaximum);
  const VString& name = a[0].str;
  const int64_t mode = RoundOr(a[1].val, 2);
  if (mode != 0 && RefuseWrite(name, "In secure mode you cannot write file ")) return;
  if (mode == 0 && RefuseRead(name)) return;
  int flags = mode == 0 ? O_RDONLY : (mode == 1 ? O_WRONLY : O_RDWR);
  // A missing file is created, except that secure mode creates nothing
  // outside the working directory even for reading.
  if (!(mode == 0 && Secure_Mode() && File_HasPath(name))) flags |= O_CREAT;
  const std::string path = File_PlatformPath(name);
  int fd = File_OpenRegular(path, flags);
  FILE* file = fd < 0 ? nullptr : ::fdopen(fd, mode == 0 ? "rb" : (mode == 1 ? "wb" : "r+b"));
  if (!file) {
    if (fd >= 0) ::close(fd);
    return Report("Error opening binary file.");
  }
  BinarySlots()[free_slot] = BinarySlot{file, BinarySlot::None};
  SetReal(result, free_slot);
}

void F_FileBinRewrite(RValue&, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("Trying to rewrite unopened file.");
  bool ok = std::fflush(slot->file) == 0 && ::ftruncate(::fileno(slot->file), 0) == 0 &&
            std::fseek(slot->file, 0, SEEK_SET) == 0;
  slot->last = BinarySlot::None;
  if (!ok) Report("Error rewriting file.");
}

void F_FileBinClose(RValue&, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("Trying to close unopened file.");
  std::fclose(slot->file);
  *slot = BinarySlot();
}

void F_FileBinSize(RValue& result, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("File is not opened.");
  struct stat st;
  if (std::fflush(slot->file) != 0 || ::fstat(::fileno(slot->file), &st) != 0)
    return Report("Error retrieving file size.");
  SetReal(result, static_cast<double>(st.st_size));
}

void F_FileBinPosition(RValue& result, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("File is not opened.");
  long pos = std::ftell(slot->file);
  if (pos < 0) return Report("Error retrieving file size.");
  SetReal(result, static_cast<double>(pos));
}

void F_FileBinSeek(RValue&, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("File is not opened.");
  int64_t pos = RoundOr(a[1].val, -1);
  if (pos < 0 || std::fseek(slot->file, static_cast<long>(pos), SEEK_SET) != 0)
    return Report("Error seeking.");
  slot->last = BinarySlot::None;
}

void F_FileBinReadByte(RValue& result, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("File is not opened.");
  Switch(*slot, BinarySlot::Read);
  int c = std::fgetc(slot->file);
  if (c == EOF) {
    std::clearerr(slot->file);
    return Report("Error reading byte.");
  }
  SetReal(result, c);
}

void F_FileBinWriteByte(RValue&, CInstance*, CInstance*, int, RValue* a) {
  BinarySlot* slot = OpenBinary(a[0]);
  if (!slot) return Report("File is not opened.");
  int64_t byte = 0;
  Switch(*slot, BinarySlot::Write);
  if (!TryRound(a[1].val, byte) || std::fputc(static_cast<int>(byte & 0xFF), slot->file) == EOF) {
    std::clearerr(slot->file);
    Report("Error writing byte.");
  }
}

// --- text files --------------------------------------------------------------

std::array<TTextFile, kSlots + 1>& TextSlots() {
  static std::array<TTextFile, kSlots + 1> slots;
  return slots;
}

TTextFile& LegacyFile() {
  static TTextFile file;
  return file;
}

// The text file of id when it is in that state, else null.
TTextFile* TextIn(const RValue& id, TextFileState state) {
  int64_t n = RoundOr(id.val, -1);
  if (n < 1 || n > kSlots || TextSlots()[n].State() != state) return nullptr;
  return &TextSlots()[n];
}

int FreeTextSlot() {
  for (int i = 1; i <= kSlots; ++i)
    if (TextSlots()[i].State() == TextFileState::Closed) return i;
  return 0;
}

enum class OpenKind { Read, Write, Append };

// Opens file for the kind, with the secure-mode checks and messages shared
// by the text-file and legacy forms. False when it did not open (reported
// unless a missing file was to be read).
bool OpenText(TTextFile& file, const VString& name, OpenKind kind) {
  const std::string path = File_PlatformPath(name);
  switch (kind) {
    case OpenKind::Read:
      if (RefuseRead(name)) return false;
      if (::access(path.c_str(), F_OK) != 0) return false;  // missing: no message
      if (file.OpenRead(path)) return true;
      Report("Error opening file for reading.");
      return false;
    case OpenKind::Write:
      if (RefuseWrite(name, "In secure mode you cannot write file ")) return false;
      if (file.OpenWrite(path)) return true;
      Report("Error opening file for writing.");
      return false;
    case OpenKind::Append:
      if (RefuseWrite(name, "In secure mode you cannot append to file ")) return false;
      if (file.OpenAppend(path)) return true;
      Report("Error opening file for appending.");
      return false;
  }
  return false;
}

void OpenTextSlot(RValue& result, const RValue& name, OpenKind kind) {
  SetReal(result, -1);
  int slot = FreeTextSlot();
  if (slot == 0) return Report(kMaximum);
  if (OpenText(TextSlots()[slot], name.str, kind)) SetReal(result, slot);
}

void F_FileTextOpenRead(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  OpenTextSlot(r, a[0], OpenKind::Read);
}
void F_FileTextOpenWrite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  OpenTextSlot(r, a[0], OpenKind::Write);
}
void F_FileTextOpenAppend(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  OpenTextSlot(r, a[0], OpenKind::Append);
}

void F_FileTextClose(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int64_t n = RoundOr(a[0].val, -1);
  if (n <= 0 || n > kSlots) return Report("Trying to close unexisting text file.");
  // The content written could not take the name: the old content stays.
  if (!TextSlots()[n].Close()) Report("Error closing file.");
}

constexpr const char* kNotForReading = "File is not opened for reading.";
constexpr const char* kNotForWriting = "File not opened for writing.";

// The reading and writing operations, shared by the slot and legacy forms.
void ReadString(RValue& result, TTextFile& file) {
  SetString(result, file.ReadString());
  if (file.ReadFailed()) {
    SetString(result, VString());
    Report("Error reading string.");
  }
}

void ReadReal(RValue& result, TTextFile& file, bool legacy) {
  SetReal(result, legacy ? file.ReadRealLegacy() : file.ReadRealText());
  if (file.ReadFailed()) {
    SetReal(result, 0);
    Report("Error reading real.");
  }
}

void ReadLine(TTextFile& file) {
  file.ReadLine();
  if (file.ReadFailed()) Report("Error reading line.");
}

void Write(TTextFile& file, const std::string& bytes) {
  if (!file.Write(bytes)) Report("Error writing file.");
}

void F_FileTextReadString(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Reading);
  if (!f) return Report(kNotForReading);
  ReadString(r, *f);
}

void F_FileTextReadReal(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Reading);
  if (!f) return Report(kNotForReading);
  ReadReal(r, *f, false);
}

void F_FileTextReadln(RValue&, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Reading);
  if (!f) return Report(kNotForReading);
  ReadLine(*f);
}

void F_FileTextEof(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Reading);
  if (!f) return Report(kNotForReading);
  SetReal(r, f->AtEof() ? 1 : 0);
}

void F_FileTextEoln(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Reading);
  if (!f) return Report(kNotForReading);
  SetReal(r, f->AtEoln() ? 1 : 0);
}

void F_FileTextWriteString(RValue&, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Writing);
  if (!f) return Report(kNotForWriting);
  Write(*f, ToUtf8(a[1].str));
}

void F_FileTextWriteReal(RValue&, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Writing);
  if (!f) return Report(kNotForWriting);
  Write(*f, File_RealText(a[1].val));
}

void F_FileTextWriteln(RValue&, CInstance*, CInstance*, int, RValue* a) {
  TTextFile* f = TextIn(a[0], TextFileState::Writing);
  if (!f) return Report(kNotForWriting);
  Write(*f, "\r\n");
}

// --- the legacy file ---------------------------------------------------------

bool LegacyIn(TextFileState state) { return LegacyFile().State() == state; }

void F_FileOpenRead(RValue&, CInstance*, CInstance*, int, RValue* a) {
  LegacyFile().Close();
  OpenText(LegacyFile(), a[0].str, OpenKind::Read);
}
void F_FileOpenWrite(RValue&, CInstance*, CInstance*, int, RValue* a) {
  LegacyFile().Close();
  OpenText(LegacyFile(), a[0].str, OpenKind::Write);
}
void F_FileOpenAppend(RValue&, CInstance*, CInstance*, int, RValue* a) {
  LegacyFile().Close();
  OpenText(LegacyFile(), a[0].str, OpenKind::Append);
}

void F_FileClose(RValue&, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyFile().Close()) Report("Error closing file.");
}

void F_FileReadString(RValue& r, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Reading)) return Report("File not opened for reading.");
  ReadString(r, LegacyFile());
}

void F_FileReadReal(RValue& r, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Reading)) return Report("File not opened for reading.");
  ReadReal(r, LegacyFile(), true);
}

void F_FileReadln(RValue&, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Reading)) return Report("File not opened for reading.");
  ReadLine(LegacyFile());
}

void F_FileEof(RValue& r, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Reading)) return Report(kNotForReading);
  SetReal(r, LegacyFile().AtEof() ? 1 : 0);
}

void F_FileEoln(RValue& r, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Reading)) return Report(kNotForReading);
  SetReal(r, LegacyFile().AtEoln() ? 1 : 0);
}

void F_FileWriteString(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!LegacyIn(TextFileState::Writing)) return Report(kNotForWriting);
  Write(LegacyFile(), ToUtf8(a[0].str));
}

void F_FileWriteReal(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!LegacyIn(TextFileState::Writing)) return Report(kNotForWriting);
  Write(LegacyFile(), File_RealText(a[0].val));
}

void F_FileWriteln(RValue&, CInstance*, CInstance*, int, RValue*) {
  if (!LegacyIn(TextFileState::Writing)) return Report(kNotForWriting);
  Write(LegacyFile(), "\r\n");
}

}  // namespace

void Files_CloseAll() {
  for (int i = 1; i <= kSlots; ++i) {
    BinarySlot& slot = BinarySlots()[i];
    if (slot.file) std::fclose(slot.file);
    slot = BinarySlot();
    TextSlots()[i].Close();
  }
  LegacyFile().Close();
}

void Files_RegisterFileFunctions() {
  Function_Add("file_bin_open", F_FileBinOpen, 2);
  Function_Add("file_bin_rewrite", F_FileBinRewrite, 1);
  Function_Add("file_bin_close", F_FileBinClose, 1);
  Function_Add("file_bin_position", F_FileBinPosition, 1);
  Function_Add("file_bin_size", F_FileBinSize, 1);
  Function_Add("file_bin_seek", F_FileBinSeek, 2);
  Function_Add("file_bin_read_byte", F_FileBinReadByte, 1);
  Function_Add("file_bin_write_byte", F_FileBinWriteByte, 2);

  Function_Add("file_text_open_read", F_FileTextOpenRead, 1);
  Function_Add("file_text_open_write", F_FileTextOpenWrite, 1);
  Function_Add("file_text_open_append", F_FileTextOpenAppend, 1);
  Function_Add("file_text_close", F_FileTextClose, 1);
  Function_Add("file_text_read_string", F_FileTextReadString, 1);
  Function_Add("file_text_read_real", F_FileTextReadReal, 1);
  Function_Add("file_text_readln", F_FileTextReadln, 1);
  Function_Add("file_text_eof", F_FileTextEof, 1);
  Function_Add("file_text_eoln", F_FileTextEoln, 1);
  Function_Add("file_text_write_string", F_FileTextWriteString, 2);
  Function_Add("file_text_write_real", F_FileTextWriteReal, 2);
  Function_Add("file_text_writeln", F_FileTextWriteln, 1);

  Function_Add("file_open_read", F_FileOpenRead, 1);
  Function_Add("file_open_write", F_FileOpenWrite, 1);
  Function_Add("file_open_append", F_FileOpenAppend, 1);
  Function_Add("file_close", F_FileClose, 0);
  Function_Add("file_read_string", F_FileReadString, 0);
  Function_Add("file_read_real", F_FileReadReal, 0);
  Function_Add("file_readln", F_FileReadln, 0);
  Function_Add("file_eof", F_FileEof, 0);
  Function_Add("file_eoln", F_FileEoln, 0);
  Function_Add("file_write_string", F_FileWriteString, 1);
  Function_Add("file_write_real", F_FileWriteReal, 1);
  Function_Add("file_writeln", F_FileWriteln, 0);
}
