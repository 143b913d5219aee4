// The order book over loopback: starting it, its progress while the worker
// holds the meet, the control page, the download, and the document as a
// word processor prints it.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "pages/meet/order_book_generation.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/order_book_meet.h"
#include "tests/testing/temp_folder.h"

namespace korva {

namespace {


std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The standard output of a shell command.
std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
  }
  return out;
}

std::string WithoutBlanks(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f' || c == '\r'; });
  return text;
}

class OrderBookServerTest : public ServerTest {
 protected:
  void SetUp() override {
    OrderBookState = kBookNotRun;
    ServerTest::SetUp();
  }
  void TearDown() override {
    WaitForOrderBookWorker();
    ServerTest::TearDown();
  }

  // Starts the book through the force button's request, waits for it and
  // checks that the file is well-formed XML.
  void MakeBook() {
    ASSERT_EQ(Page("/MakeCXC1991.html"), "1");
    WaitForOrderBookWorker();
    ASSERT_EQ(Page("/YdhCXCJingDu1991.html"), "200");
    const std::string book = meet_->folder() + "/" + GbkToUtf8(BookName());
    EXPECT_EQ(std::system(("xmllint --noout '" + book + "'").c_str()), 0);
  }

  // The recorded book's file name (GBK).
  std::string BookName() {
    DataGuard hold(DataLock);
    return Model().DocumentList.empty() ? std::string() : Model().DocumentList.front().FilePath;
  }
};

// The book counts as made only once its numbering and draw are on disk:
// here the -wal file cannot be synced.
TEST_F(OrderBookServerTest, ABookWhoseDrawIsNotOnDiskIsNotReportedMade) {
  OpenOrderBookMeet(*meet_);
  admin_ = LoginAdmin();
  UnsyncableMeetWal unsyncable;
  ASSERT_EQ(Page("/MakeCXC1991.html"), "1");
  WaitForOrderBookWorker();
  EXPECT_EQ(Page("/YdhCXCJingDu1991.html"), "150");
}

// A run held at its numbering step, until the test lets it go on.
std::mutex pause_mutex;
std::condition_variable pause_changed;
bool run_paused = false;
bool run_released = false;

int pause_at = kBookNumbering;

void PauseAtNumbering(int state) {
  if (state != pause_at) return;
  std::unique_lock<std::mutex> lock(pause_mutex);
  run_paused = true;
  pause_changed.notify_all();
  pause_changed.wait(lock, [] { return run_released; });
}

TEST_F(OrderBookServerTest, ProgressAnswersWhileTheWorkerHoldsTheMeetAndPagesWaitOnlyForTheDraw) {
  OpenOrderBookMeet(*meet_);
  admin_ = LoginAdmin();
  run_paused = run_released = false;
  OrderBookProgressObserver = PauseAtNumbering;
  ASSERT_EQ(Page("/MakeCXC1991.html"), "1");
  {
    std::unique_lock<std::mutex> lock(pause_mutex);
    pause_changed.wait(lock, [] { return run_paused; });
  }
  // The worker holds DataLock now: the poll and a second start answer at
  // once, a page waits for the numbering and the draw.
  EXPECT_EQ(Page("/YdhCXCJingDu1991.html"), "20");
  EXPECT_EQ(Page("/MakeCXC1990.html"), "2-");
  EXPECT_EQ(Page("/MakeCXC1991.html"), "2");
  std::atomic<bool> page_done{false};
  std::string page;
  std::thread reader([&] {
    page = Page("/BookControl.html");
    page_done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(page_done);
  {
    std::lock_guard<std::mutex> lock(pause_mutex);
    run_released = true;
  }
  pause_changed.notify_all();
  reader.join();
  EXPECT_TRUE(Has(page, "</html>"));
  WaitForOrderBookWorker();
  OrderBookProgressObserver = nullptr;
  page = Page("/BookControl.html");
  EXPECT_TRUE(Has(page, "点击下载(请选择保存或另存为)</a></td><td>已下载0次</td></tr>")) << GbkToUtf8(page);
}

// Paused in its roster, the worker reads its own copy of the meet: a
// clerk's upload is answered at once.
TEST_F(OrderBookServerTest, WritersGoOnWhileTheDocumentIsWritten) {
  OpenOrderBookMeet(*meet_);
  admin_ = LoginAdmin();
  run_paused = run_released = false;
  pause_at = kBookRoster;
  OrderBookProgressObserver = PauseAtNumbering;
  ASSERT_EQ(Page("/MakeCXC1991.html"), "1");
  {
    std::unique_lock<std::mutex> lock(pause_mutex);
    pause_changed.wait(lock, [] { return run_paused; });
  }
  std::atomic<bool> answered{false};
  std::thread clerk([&] {
    Upload(admin_, 1, 1, "12.34");
    answered = true;
  });
  for (int i = 0; i < 500 && !answered; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(answered);
  {
    std::lock_guard<std::mutex> lock(pause_mutex);
    run_released = true;
  }
  pause_changed.notify_all();
  clerk.join();
  WaitForOrderBookWorker();
  OrderBookProgressObserver = nullptr;
  pause_at = kBookNumbering;
  EXPECT_EQ(Page("/YdhCXCJingDu1991.html"), "200");
}

TEST_F(OrderBookServerTest, StartRequestsAnswerTheirCodesAndEveryEndStateLetsTheNextRunIn) {
  OpenOrderBookMeet(*meet_, "DELETE FROM qrtb397 WHERE qrtb399 = 1105 AND qrtb400 > 4;", 0);
  admin_ = LoginAdmin();
  EXPECT_EQ(Page("/MakeCXC1990.html"), "3-");
  EXPECT_EQ(Page("/MakeCXC1991.html"), "3");
  EXPECT_EQ(Page("/WebBaoMingClose.html?ID=2"), "3");
  EXPECT_EQ(Page("/MakeCXC1990.html"),
            "9-4x100米接力团队赛一年级02班还无人报名，请提醒班主任报名。<br />\r\n"
            "<button onClick=\"cxcstart(0);\" id=\"makexcan2\">强制开始生成秩序册</button>");
  EXPECT_EQ(Page("/YdhCXCJingDu1991.html"), "0");
  EXPECT_NE(Get("/MakeCXC1991.html").body, "1");  // only the administrator starts it
  for (int ended : {kBookNotRun, kBookFinished, kBookNoAthletes, kBookFailed}) {
    OrderBookState = ended;
    MakeBook();
  }
}

// The download itself, and the count, are the static files' tests; here
// the book's row and that its count is kept in the meet file.
TEST_F(OrderBookServerTest, TheBookIsListedAndItsDownloadsCountedInTheMeetFile) {
  OpenOrderBookMeet(*meet_);
  admin_ = LoginAdmin();
  EXPECT_TRUE(Has(Page("/BookControl.html"), "<tr><td colspan=\"4\">目前无文档可供下载！</td></tr>"));
  MakeBook();
  const std::string name = BookName();
  EXPECT_EQ(Get("/" + BrowserPath(GbkToUtf8(name))).body, ReadFile(meet_->folder() + "/" + GbkToUtf8(name)));
  ASSERT_EQ(meet_->Open(), 0);
  EXPECT_TRUE(Has(Page("/BookControl.html"), "<td><a href=\"" + name +
                                                   "\" target=\"_blank\">点击下载(请选择保存或另存为)</a></td><td>已下载1次</td></tr>"));
}

TEST_F(OrderBookServerTest, APreliminaryTheDrawDropsLeavesNothingToWaitFor) {
  // Six entrants and eight qualifiers: the boys' 100米 runs a single final.
  const int id = OpenOrderBookMeet(*meet_, "UPDATE qrtb425 SET qrtb430 = 8 WHERE qrtb426 = 1101;");
  admin_ = LoginAdmin();
  MakeBook();
  // 李三 runs 100米 only: the roster and the final's start list.
  EXPECT_EQ(CountOf(ReadFile(meet_->folder() + "/" + GbkToUtf8(BookName())), GbkToUtf8("李三")), 2);
  // Every round that is run counted.
  ASSERT_TRUE(meet_->MeetSql(id, "UPDATE qrtb479 SET qrtb485 = 1234, qrtb487 = 1 WHERE qrtb481 IN "
                                 "(SELECT qrtb445 FROM qrtb444 WHERE qrtb448 = 0);"
                                 "UPDATE qrtb444 SET qrtb458 = 5201000 WHERE qrtb448 = 0;"));
  ASSERT_EQ(meet_->Open(), 0);
  EXPECT_TRUE(Has(Page("/Admin.html"), "<td class=\"style1\">可进行</td>"));
  EXPECT_TRUE(Has(Page("/getgnstr.html?Dstr=120-0-0-0-0"), "<td>李三</td><td>100米</td>"));
  const std::string results = Get("/SeeClassCJ.html", LoginTeacher(102, "2222")).body;
  EXPECT_TRUE(Has(results, "李三")) << results;
  EXPECT_FALSE(Has(results, "还没有比赛！")) << results;
}

TEST_F(OrderBookServerTest, AWordProcessorPrintsTheBook) {
  OpenOrderBookMeet(*meet_, "UPDATE qrtb7 SET qrtb12 = '<style>*{display:none}' WHERE qrtb16 = 101;");
  admin_ = LoginAdmin();
  MakeBook();
  const std::string book = meet_->folder() + "/" + GbkToUtf8(BookName());
  TempFolder office;
  const std::string convert = "cd '" + office.path() + "' && cp '" + book + "' book.doc && soffice --headless " +
                              "-env:UserInstallation=file://" + office.path() + "/profile --convert-to pdf " +
                              "book.doc >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  const std::string pdf = office.File("book.pdf");
  // Roster, timetable and group tables each begin a page.
  const std::string info = CommandOutput("pdfinfo '" + pdf + "'");
  const std::size_t pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << info;
  EXPECT_EQ(std::atoi(info.c_str() + pages + 6), 3) << info;
  const std::string text = Utf8ToGbk(WithoutBlanks(CommandOutput("pdftotext '" + pdf + "' -")));
  for (const char* part : {"运动员名单", "★一年级01班领队：<style>*{display:none}", "001<xmp>&002张一003张二004张三",
                           "竞赛日程表", "5月20日上午", "径赛", "1、[09:00]一年级男子组100米预赛", "田赛",
                           "竞赛分组表", "组\\道", "组\\序1234", "QV网络测试运动会"})
    EXPECT_TRUE(Has(text, part)) << GbkToUtf8(part) << "\n" << GbkToUtf8(text);
}

}  // namespace

}  // namespace korva
