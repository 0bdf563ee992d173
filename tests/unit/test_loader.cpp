// test_loader.cpp: LoadGame on games written by the writer, and on a table
// of corrupt inputs: every one must end in the exact message, a silent
// check failure or a stream exception, never a crash.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runner/datanew_main.h"
#include "runner/datanew_write.h"
#include "runner/elf_image.h"
#include "runner/game_data.h"
#include "common/support_stream.h"

namespace {

// Remembers what the loader showed.
class RecordingObserver : public LoadObserver {
 public:
  std::vector<std::string> messages;
  std::vector<std::pair<int, std::string>> progress;
  int setups = 0;
  bool setup_debug = false;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetProgress(int percent, const std::string& text) override { progress.emplace_back(percent, text); }
  void SetUpLoadingWindow(bool debug, const GameSettings&) override {
    ++setups;
    setup_debug = debug;
  }
};

// Bytes standing in for the runner: no marker anywhere.
constexpr size_t kRunnerBytes = 96;
constexpr size_t kScanStart = 40;

std::vector<uint8_t> RunnerBytes() {
  std::vector<uint8_t> b(kRunnerBytes);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 7 + 1);
  return b;
}

GameDataWriteOptions Options(size_t padding = 5, uint32_t seed = 1234) {
  GameDataWriteOptions o;
  o.offset = kRunnerBytes;
  o.scan_start = kScanStart;
  o.padding = padding;
  o.seed = seed;
  return o;
}

std::vector<uint8_t> Executable(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> exe = RunnerBytes();
  exe.insert(exe.end(), data.begin(), data.end());
  return exe;
}

// A small game with one resource of most kinds.
CGameData& SampleGame(CGameData& g) {
  g.Clear();
  g.day_count = 45000;
  g.debug_mode = true;
  g.seconds = 3600;
  g.settings.scale = -1;
  g.settings.code_flags = 3;
  g.support_library_name = u"vexlo3d.bin";
  g.edition = 7;
  g.game_id = 424242;
  for (int i = 0; i < 16; ++i) g.guid[i] = static_cast<uint8_t>(i * 17);
  auto trig = std::make_unique<CTrigger>();
  trig->i_name = u"trig";
  trig->i_condition = u"return true;";
  g.triggers.Add(std::move(trig), u"trig");
  g.triggers.Add(nullptr, u"");
  g.constants = {{u"MAX", u"10"}, {u"NAME", u"\"x\""}};
  auto snd = std::make_unique<CSound>();
  snd->s_kind = 0;
  snd->s_extension = u".wav";
  g.sounds.Add(std::move(snd), u"snd_a");
  auto spr = std::make_unique<CSprite>();
  spr->i_bitmap.push_back(TBitmap32(2, 2));
  spr->i_mask.emplace_back();
  g.sprites.Add(nullptr, u"");
  g.sprites.Add(std::move(spr), u"spr_b");
  auto bg = std::make_unique<CBackground>();
  bg->i_bitmap = TBitmap32(4, 4);
  g.backgrounds.Add(std::move(bg), u"bg");
  auto path = std::make_unique<CPath>();
  path->i_points = {{0, 0, 100}, {10, 0, 50}};
  g.paths.Add(std::move(path), u"path");
  auto scr = std::make_unique<CScript>();
  scr->s_text = u"return 1;";
  g.scripts.Add(std::move(scr), u"scr");
  g.fonts.Add(std::make_unique<CFont>(), u"fnt");
  auto tl = std::make_unique<CTimeLine>();
  tl->s_step = {3};
  tl->s_event.emplace_back();
  g.timelines.Add(std::move(tl), u"tl");
  auto obj = std::make_unique<CObject>();
  CAction act;
  act.act_exetype = EXE_CODE;
  act.act_codestring = u"x = 1;";
  obj->AddEvent(ev_step, 0).e_actions.push_back(act);
  g.objects.Add(std::move(obj), u"obj");
  auto room = std::make_unique<CRoom>();
  room->r_background[0].index = 0;
  room->r_background[0].stretch = true;
  room->r_instances.push_back({1, 2, 0, 100001, u""});
  g.rooms.Add(std::move(room), u"room0");
  g.rooms.Add(std::make_unique<CRoom>(), u"room1");
  g.last_instance_id = 100001;
  g.last_tile_id = 10000000;
  auto file = std::make_unique<CDataFile>();
  file->s_filename = u"data.txt";
  file->s_exists = true;
  file->s_store = true;
  file->s_data = {1, 2, 3};
  file->s_exportaction = EXPORT_NONE;
  g.included_files.Add(std::move(file), u"data.txt");
  g.game_information.caption = u"About";
  g.library_init_code = {u"global.a = 1;", u""};
  g.room_order = {1, 0};
  return g;
}

std::vector<uint8_t> SampleExecutable(const GameDataWriteOptions& options = Options()) {
  CGameData g;
  return Executable(WriteGameData(SampleGame(g), options));
}

// How a load ended.
struct Outcome {
  LoadStatus status = LoadStatus::Failed;
  bool threw = false;
  std::vector<std::string> messages;
};

Outcome Load(std::vector<uint8_t> bytes, size_t scan_start = kScanStart) {
  CStream file(std::move(bytes));
  RecordingObserver obs;
  Outcome out;
  try {
    out.status = LoadGame(file, scan_start, obs);
  } catch (const StreamReadError&) {
    out.threw = true;
  } catch (const StreamFormatError&) {
    out.threw = true;
  }
  out.messages = obs.messages;
  return out;
}

const std::vector<std::string> kResourceError = {"Error: Error in resource data."};

// Wraps a hand-made body into a loadable executable.
std::vector<uint8_t> WithBody(const CStream& body) {
  CGameData g;
  g.Clear();
  CStream payload;
  WriteGamePayload(g, body, payload);
  return Executable(WriteGameEnvelope(payload, Options()));
}

// A minimal body with every section empty; section `bad` (0-based, -1 for
// none) gets version 1, section `huge` a count no stream can hold.
CStream MinimalBody(int bad, int32_t room_order_count = 1, int huge = -1) {
  CStream b;
  b.WriteInteger(0);  // padding
  b.WriteInteger(0);  // edition
  b.WriteInteger(1);  // game id
  uint8_t guid[16] = {};
  b.WriteBytes(guid, 16);
  const int32_t versions[16] = {700, 800, 800, 800, 800, 800, 800, 800,
                                800, 800, 800, 800, 800, 800, 500, 700};
  for (int i = 0; i < 16; ++i) {
    b.WriteInteger(i == bad ? 1 : versions[i]);
    if (i == 13) {  // game information
      CStream info;
      CGameInformation().SaveToStream(info);
      b.WriteStreamC(info);
    } else if (i == 15) {  // room order
      b.WriteInteger(room_order_count);
      for (int32_t k = 0; k < std::min(room_order_count, 4); ++k) b.WriteInteger(0);
    } else {
      b.WriteInteger(i == huge ? 0x7FFFFFF0 : 0);
      if (i == 11) {  // rooms: last instance and tile ids
        b.WriteInteger(0);
        b.WriteInteger(0);
      }
    }
  }
  return b;
}

}  // namespace

TEST(Loader, WrittenGameLoadsFieldForFieldWithProgressInOrder) {
  CGameData expected;
  SampleGame(expected);
  CStream file(SampleExecutable());
  RecordingObserver obs;
  ASSERT_EQ(LoadGame(file, kScanStart, obs), LoadStatus::Loaded);
  EXPECT_TRUE(obs.messages.empty());
  EXPECT_EQ(obs.setups, 1);
  EXPECT_TRUE(obs.setup_debug);
  const std::vector<std::pair<int, std::string>> progress = {
      {1, "Reading data"},          {0, "Loading extension packages"},
      {5, "Loading triggers"},      {6, "Loading constants"},
      {7, "Loading sounds"},        {10, "Loading sprites"},
      {23, "Loading backgrounds"},  {30, "Loading paths"},
      {32, "Loading scripts"},      {34, "Loading fonts"},
      {36, "Loading time lines"},   {38, "Loading objects"},
      {40, "Loading rooms"},        {43, "Loading included files"},
      {45, "Loading help"},         {47, "Loading library init code"},
      {49, "Loading room order"},
  };
  EXPECT_EQ(obs.progress, progress);

  const CGameData& g = Game();
  EXPECT_EQ(g.day_count, expected.day_count);
  EXPECT_TRUE(g.debug_mode);
  EXPECT_EQ(g.seconds, expected.seconds);
  EXPECT_EQ(g.settings.scale, -1);
  EXPECT_EQ(g.settings.code_flags, 3);
  EXPECT_EQ(g.support_library_name, u"vexlo3d.bin");
  EXPECT_TRUE(g.support_library.empty());
  EXPECT_EQ(g.edition, 7);
  EXPECT_EQ(g.game_id, 424242);
  EXPECT_EQ(g.guid, expected.guid);
  EXPECT_EQ(g.triggers.Count(), 2);
  EXPECT_EQ(g.triggers.Name(0), u"trig");
  EXPECT_EQ(g.triggers.Get(1), nullptr);
  ASSERT_EQ(g.constants.size(), 2u);
  EXPECT_EQ(g.constants[1].value, u"\"x\"");
  EXPECT_EQ(g.sounds.Find(u"snd_a"), 0);
  EXPECT_EQ(g.sprites.Get(0), nullptr);
  EXPECT_EQ(g.sprites.Name(0), u"<undefined>");
  ASSERT_NE(g.sprites.Get(1), nullptr);
  EXPECT_EQ(g.sprites.Get(1)->Numb(), 1);
  EXPECT_EQ(g.backgrounds.Get(0)->Width(), 4);
  EXPECT_EQ(g.paths.Get(0)->Count(), 2);
  EXPECT_EQ(g.scripts.Get(0)->s_text, u"return 1;");
  EXPECT_EQ(g.fonts.Name(0), u"fnt");
  EXPECT_EQ(g.timelines.Get(0)->s_step, std::vector<int32_t>{3});
  ASSERT_NE(g.objects.Get(0)->GetEvent(ev_step, 0), nullptr);
  EXPECT_EQ(g.objects.Get(0)->GetEvent(ev_step, 0)->e_actions[0].act_codestring, u"x = 1;");
  EXPECT_EQ(g.rooms.Count(), 2);
  // The stretched layer follows the 4x4 background loaded before the rooms.
  EXPECT_EQ(g.rooms.Get(0)->r_background[0].xscale, 160.0);
  EXPECT_EQ(g.rooms.Get(0)->r_instances.size(), 1u);
  EXPECT_EQ(g.last_instance_id, 100001);
  EXPECT_EQ(g.last_tile_id, 10000000);
  EXPECT_EQ(g.included_files.Get(0)->s_data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(g.IncludedFileFind(u"data.txt"), 0);
  EXPECT_EQ(g.game_information.caption, u"About");
  EXPECT_EQ(g.library_init_code, expected.library_init_code);
  EXPECT_EQ(g.room_order, expected.room_order);
  EXPECT_EQ(g.RoomFirst(), 1);
  EXPECT_EQ(g.RoomNext(1), 0);
}

TEST(Loader, WriterOutputIsStableAcrossALoad) {
  // Load, write again with the same options: the same bytes.
  std::vector<uint8_t> exe = SampleExecutable();
  CStream file(exe);
  RecordingObserver obs;
  ASSERT_EQ(LoadGame(file, kScanStart, obs), LoadStatus::Loaded);
  // The body's self-keyed scrambling is random, so compare plain bodies.
  CGameData expected;
  CStream a, b;
  WriteGameBody(SampleGame(expected), a, 9);
  WriteGameBody(Game(), b, 9);
  EXPECT_EQ(a.Bytes(), b.Bytes());
}

TEST(Loader, LoadsForEveryPaddingSeedAndScanStart) {
  for (size_t padding : {0u, 1u, 7u, 8u, 33u}) {
    for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 0x80000000u}) {
      for (size_t scan : {size_t{0}, size_t{1}, kScanStart, kRunnerBytes}) {
        GameDataWriteOptions o = Options(padding, seed);
        o.scan_start = scan;
        Outcome r = Load(SampleExecutable(o), scan);
        EXPECT_EQ(r.status, LoadStatus::Loaded) << padding << " " << seed << " " << scan;
        EXPECT_TRUE(r.messages.empty());
      }
    }
  }
}

TEST(Loader, AppendedToARealElfRunnerLoadsFromItsImageEnd) {
  std::vector<uint8_t> runner;
  {
    CStream self;
    if (!self.LoadFromFile("/bin/true")) GTEST_SKIP() << "no /bin/true";
    runner = self.Bytes();
  }
  size_t q = ElfImageEnd(runner.data(), runner.size());
  ASSERT_GT(q, 0u);
  EXPECT_LE(q, runner.size());
  CGameData g;
  std::vector<uint8_t> exe = AppendGameData(runner, SampleGame(g));
  ASSERT_GT(exe.size(), runner.size());
  EXPECT_EQ(ElfImageEnd(exe.data(), exe.size()), q);
  Outcome r = Load(exe, q);
  EXPECT_EQ(r.status, LoadStatus::Loaded);
  EXPECT_TRUE(r.messages.empty());
}

TEST(Loader, CorruptEnvelopeTable) {
  const std::vector<uint8_t> good = SampleExecutable(Options(5));
  const size_t marker = kRunnerBytes + 5;
  auto flip = [&](size_t at) {
    std::vector<uint8_t> b = good;
    b[at] ^= 0x40;
    return b;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    LoadStatus status;
    std::vector<std::string> messages;
    bool threw;
  };
  const std::vector<std::string> not_valid = {"Error: Not a valid game file."};
  std::vector<uint8_t> wrong_version = good;
  {
    uint32_t w;
    std::memcpy(&w, &wrong_version[marker + 16], 4);
    w ^= 810u ^ 811u;
    std::memcpy(&wrong_version[marker + 16], &w, 4);
  }
  std::vector<uint8_t> cut_marker(good.begin(), good.begin() + marker + 7);
  std::vector<uint8_t> marker_at_end(good.begin(), good.begin() + marker + 8);
  std::vector<uint8_t> foreign(4096);
  for (size_t i = 0; i < foreign.size(); ++i) foreign[i] = static_cast<uint8_t>(i % 251 + 3);
  const Case cases[] = {
      {"empty file", {}, LoadStatus::Failed, not_valid, false},
      {"runner only", RunnerBytes(), LoadStatus::Failed, not_valid, false},
      {"foreign file", foreign, LoadStatus::Failed, not_valid, false},
      {"marker cut in the last 8 bytes", cut_marker, LoadStatus::Failed, not_valid, false},
      {"marker as the last 8 bytes", marker_at_end, LoadStatus::Failed, {}, true},
      {"marker damaged", flip(marker + 3), LoadStatus::Failed, not_valid, false},
      {"seed flipped", flip(marker + 8), LoadStatus::CheckFailed, {}, false},
      {"check value flipped", flip(marker + 12), LoadStatus::CheckFailed, {}, false},
      {"payload byte flipped", flip(marker + 20), LoadStatus::CheckFailed, {}, false},
      {"last byte flipped", flip(good.size() - 1), LoadStatus::CheckFailed, {}, false},
      {"wrong header version", wrong_version, LoadStatus::Failed, {"Error: Wrong version number."}, false},
  };
  for (const Case& c : cases) {
    Outcome r = Load(c.bytes);
    EXPECT_EQ(r.threw, c.threw) << c.name;
    if (!c.threw) {
      EXPECT_EQ(r.status, c.status) << c.name;
    }
    EXPECT_EQ(r.messages, c.messages) << c.name;
  }
}

TEST(Loader, ScanStartingPastTheMarkerFindsNothing) {
  Outcome r = Load(SampleExecutable(), kRunnerBytes + 6);
  EXPECT_EQ(r.status, LoadStatus::Failed);
  EXPECT_EQ(r.messages, std::vector<std::string>{"Error: Not a valid game file."});
}

TEST(Loader, TruncatedAtEveryOffsetNeverLoads) {
  const std::vector<uint8_t> good = SampleExecutable();
  for (size_t len = 0; len < good.size(); len += (len < 200 ? 1 : 37)) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + len);
    Outcome r = Load(cut);
    EXPECT_TRUE(r.threw || r.status != LoadStatus::Loaded) << len;
  }
}

// Padding and the free bits of the marker may change; nothing after them.
TEST(Loader, FlippedBytesAfterTheMarkerNeverLoad) {
  const std::vector<uint8_t> good = SampleExecutable(Options(5));
  for (size_t at = kRunnerBytes + 5 + 8; at < good.size(); at += 3) {
    std::vector<uint8_t> b = good;
    b[at] ^= static_cast<uint8_t>(1u << (at % 8));
    Outcome r = Load(b);
    EXPECT_TRUE(r.threw || r.status != LoadStatus::Loaded) << at;
  }
}

TEST(Loader, WrongSettingsVersionReportsResourceError) {
  CGameData g;
  SampleGame(g);
  CStream body;
  WriteGameBody(g, body);
  CStream payload;
  WriteGamePayload(g, body, payload);
  payload.Seek(12);  // day count, debug flag, seconds
  payload.WriteInteger(801);
  Outcome r = Load(Executable(WriteGameEnvelope(payload, Options())));
  EXPECT_EQ(r.status, LoadStatus::Failed);
  EXPECT_EQ(r.messages, kResourceError);
}

TEST(Loader, MinimalBodyLoads) {
  Outcome r = Load(WithBody(MinimalBody(-1)));
  EXPECT_EQ(r.status, LoadStatus::Loaded);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(Game().room_order, std::vector<int32_t>{0});
}

TEST(Loader, EachSectionWithAWrongVersionFailsWithItsMessages) {
  for (int section = 0; section < 16; ++section) {
    Outcome r = Load(WithBody(MinimalBody(section)));
    EXPECT_EQ(r.status, LoadStatus::Failed) << section;
    if (section == 0) {
      EXPECT_EQ(r.messages, (std::vector<std::string>{"Error in loading extension packages.",
                                                      "Error: Error in resource data."}));
    } else {
      EXPECT_EQ(r.messages, kResourceError) << section;
    }
  }
}

TEST(Loader, RoomOrderMustNameAtLeastOneRoom) {
  for (int32_t count : {0, -1}) {
    Outcome r = Load(WithBody(MinimalBody(-1, count)));
    EXPECT_EQ(r.status, LoadStatus::Failed) << count;
    EXPECT_EQ(r.messages, kResourceError) << count;
  }
  CGameData g;
  SampleGame(g).room_order.clear();
  Outcome r = Load(Executable(WriteGameData(g, Options())));
  EXPECT_EQ(r.status, LoadStatus::Failed);
  EXPECT_EQ(r.messages, kResourceError);
}

TEST(Loader, FailedRecordFailsItsSection) {
  using Mutation = std::function<void(CGameData&)>;
  const Mutation mutations[] = {
      // An image whose pixels do not match its size.
      [](CGameData& g) { g.sprites.Get(1)->i_bitmap[0].s_data.resize(3); },
      // A negative event number.
      [](CGameData& g) { g.objects.Get(0)->AddEvent(ev_alarm, -4); },
      // A font atlas of the wrong length.
      [](CGameData& g) {
        g.fonts.Get(0)->s_bw = 3;
        g.fonts.Get(0)->s_bh = 1;
      },
  };
  for (const Mutation& m : mutations) {
    CGameData g;
    SampleGame(g);
    m(g);
    Outcome r = Load(Executable(WriteGameData(g, Options())));
    EXPECT_EQ(r.status, LoadStatus::Failed);
    EXPECT_EQ(r.messages, kResourceError);
  }
}

TEST(Loader, HugeCountsFailWithoutAllocating) {
  for (int section = 0; section < 15; ++section) {
    if (section == 13) continue;  // game information has no count
    Outcome r = Load(WithBody(MinimalBody(-1, 1, section)));
    EXPECT_EQ(r.status, LoadStatus::Failed) << section;
    EXPECT_EQ(r.messages.back(), kResourceError[0]) << section;
  }
  Outcome r = Load(WithBody(MinimalBody(-1, 0x7FFFFFF0)));
  EXPECT_EQ(r.status, LoadStatus::Failed);
  EXPECT_EQ(r.messages, kResourceError);
}

TEST(Loader, MissingActionFunctionIsReportedAndLoadingGoesOn) {
  CGameData g;
  SampleGame(g);
  CAction call;
  call.act_exetype = EXE_FUNCTION;
  call.act_functionname = u"ldr_no_such_action";
  g.objects.Get(0)->AddEvent(ev_create, 0).e_actions.push_back(call);
  Outcome r = Load(Executable(WriteGameData(g, Options())));
  EXPECT_EQ(r.status, LoadStatus::Loaded);
  EXPECT_EQ(r.messages, std::vector<std::string>{"Failed to locate action function ldr_no_such_action"});
  EXPECT_EQ(Game().objects.Get(0)->GetEvent(ev_create, 0)->e_actions[0].act_functionid, -1);
}

TEST(Loader, ElfImageEndIsRobustToGarbage) {
  std::vector<uint8_t> junk(256, 0xFF);
  EXPECT_EQ(ElfImageEnd(junk.data(), junk.size()), 0u);
  EXPECT_EQ(ElfImageEnd(nullptr, 0), 0u);
  // A valid ident with header tables pointing far outside the file.
  std::vector<uint8_t> elf(64, 0);
  const uint8_t ident[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
  std::memcpy(elf.data(), ident, sizeof(ident));
  uint64_t far = 0xFFFFFFFFFFFFFF00ull;
  std::memcpy(&elf[0x20], &far, 8);
  std::memcpy(&elf[0x28], &far, 8);
  uint16_t big = 0xFFFF;
  for (size_t off : {0x36, 0x38, 0x3A, 0x3C}) std::memcpy(&elf[off], &big, 2);
  EXPECT_EQ(ElfImageEnd(elf.data(), elf.size()), 64u);
  for (size_t n = 0; n < 64; ++n) EXPECT_EQ(ElfImageEnd(elf.data(), n), 0u) << n;
}

// The image end read from an open file through its header tables is the
// one computed from the whole file in memory: for real executables (the
// runners among them, stripped or not), with game data appended, and for
// files cut short or not ELF at all.
TEST(Loader, ElfImageEndOfAFileMatchesTheWholeFile) {
  std::vector<std::vector<uint8_t>> files;
  for (const char* path : {"/bin/true", VEXLO_BUILD_DIR "/vexlo-runner-ship", VEXLO_BUILD_DIR "/vexlo-runner"}) {
    CStream file;
    if (file.LoadFromFile(path)) files.push_back(file.Bytes());
  }
  ASSERT_FALSE(files.empty());
  CGameData g;
  files.push_back(AppendGameData(files[0], SampleGame(g)));
  files.push_back(std::vector<uint8_t>(files[0].begin(), files[0].begin() + files[0].size() / 2));
  files.push_back(std::vector<uint8_t>(files[0].begin(), files[0].begin() + 100));
  files.push_back(std::vector<uint8_t>(300, 0xFF));
  files.push_back({});
  std::string path = ::testing::TempDir() + "vexlo_elf_image_end";
  for (const std::vector<uint8_t>& bytes : files) {
    CStream(bytes).SaveToFile(path);
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ElfImageEndOfFile(fd, bytes.size()), ElfImageEnd(bytes.data(), bytes.size())) << bytes.size();
    ::close(fd);
  }
  std::remove(path.c_str());
}
