// Scripts, style sheets, images and documents: the ETag and 304, that
// nothing outside the image folder or the recorded documents is ever
// served, and that none of them makes a web session.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/store_documents.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/temp_folder.h"
#include "web/route_table.h"
#include "web/session.h"

namespace korva {

namespace {

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class StaticFilesTest : public ServerTest {
 protected:
  void TearDown() override {
    SetImageFolder("");
    {
      DataGuard hold(DataLock);
      Model().DocumentList.clear();
    }
    ServerTest::TearDown();
  }
  HttpResponse GetWithTag(const std::string& path, const std::string& if_none_match) {
    return Ask(RequestText("GET", path, {}, {}, "If-None-Match: " + if_none_match + "\r\n"));
  }
  TempFolder outside_;
};

TEST_F(StaticFilesTest, ScriptsCarryAnETagOfTheirTextAnd304OnlyForThatTag) {
  HttpResponse first = Get("/admin.css");
  EXPECT_EQ("text/css;charset=GB2312", first.Header("Content-Type"));
  EXPECT_NE(std::string::npos, first.body.find(".TabDivBai"));
  EXPECT_FALSE(first.Header("Last-Modified").empty());
  std::string tag = first.Header("ETag");
  EXPECT_NE(std::string::npos, tag.find("QV2016")) << tag;
  EXPECT_EQ(tag, Get("/admin.css").Header("ETag"));
  EXPECT_NE(tag, Get("/af.js").Header("ETag"));  // another text, another tag
  for (const std::string& held : {tag, "W/" + tag, "\"x\", " + tag}) {
    HttpResponse cached = GetWithTag("/admin.css", held);
    EXPECT_EQ(304, cached.status) << held;
    EXPECT_EQ("", cached.body);
    EXPECT_EQ(tag, cached.Header("ETag"));
  }
  // A tag of another program's templates, or of the old growing counter.
  for (const std::string& stale : {std::string("\"QV2016-1\""), std::string("\"QV2016\""),
                                   tag.substr(0, tag.size() - 2) + (tag[tag.size() - 2] == '0' ? "1\"" : "0\"")}) {
    EXPECT_EQ(first.body, GetWithTag("/admin.css", stale).body) << stale;
  }
  // The print style sheet of the session's account has its tag too.
  HttpResponse view = Get("/view.css?r=5", LoginAdmin());
  EXPECT_EQ("text/css;charset=GB2312", view.Header("Content-Type"));
  EXPECT_EQ(304, GetWithTag("/view.css", view.Header("ETag")).status);
}

TEST_F(StaticFilesTest, ImagesComeFromInsideTheImageFolderAndAreReadOnce) {
  std::string images = outside_.File("image");
  std::filesystem::create_directory(images);
  WriteFile(images + "/tip.jpg", std::string("\xFF\xD8jpeg\0bytes", 11));
  WriteFile(images + "/Notify.mp3", "ID3sound");
  WriteFile(outside_.File("secret.jpg"), "secret");
  std::filesystem::create_symlink(outside_.File("secret.jpg"), images + "/link.jpg");
  std::filesystem::create_symlink(outside_.path(), images + "/up");
  std::filesystem::create_symlink(images + "/tip.jpg", images + "/alias.jpg");
  std::filesystem::create_directory(images + "/folder.jpg");
  SetImageFolder(images);
  HttpResponse image = Get("/tip.jpg");
  EXPECT_EQ("image/jpeg", image.Header("Content-Type"));
  EXPECT_EQ(std::string("\xFF\xD8jpeg\0bytes", 11), image.body);
  EXPECT_EQ("audio/mpeg", Get("/Notify.mp3").Header("Content-Type"));
  EXPECT_EQ(image.body, Get("/alias.jpg").body);  // a link that stays inside
  for (const char* path : {"/missing.jpg", "/../secret.jpg", "/%2e%2e/secret.jpg", "/..%2fsecret.jpg",
                           "/%2E%2E%5Csecret.jpg", "//tmp/secret.jpg", "/a/../../secret.jpg", "/c:secret.jpg",
                           "/tip.jpg%00.jpg", "/link.jpg", "/up/secret.jpg", "/folder.jpg"}) {
    HttpResponse reply = Get(path);
    EXPECT_EQ(404, reply.status) << path;
    EXPECT_EQ(std::string::npos, reply.body.find("secret")) << path;
  }
  // Kept in memory once read: the file changing on disk changes nothing.
  WriteFile(images + "/tip.jpg", "changed");
  EXPECT_EQ(image.body, Get("/tip.jpg").body);
}

TEST_F(StaticFilesTest, FilesScriptsAndTheBoardsFeedsMakeNoSession) {
  for (int i = 0; i < 50; ++i) {
    for (const char* path : {"/admin.css", "/view.css", "/tip.jpg", "/GetPbDate.html", "/GetPbDate2.html"}) {
      HttpResponse reply = Get(path);
      EXPECT_EQ("", reply.Header("Set-Cookie")) << path;
      EXPECT_NE(0, reply.status) << path;
    }
  }
  EXPECT_EQ(0u, SessionCount());
  EXPECT_NE("", Get("/").Header("Set-Cookie"));
  EXPECT_EQ(1u, SessionCount());
}

TEST_F(StaticFilesTest, DocumentsAreServedOnlyWhenRecordedAndCountDownloads) {
  std::string name = "秩序册(2024520).doc";  // GBK, as the list holds it; the file has the UTF-8 name
  WriteFile(meet_->folder() + "/" + GbkToUtf8(name), "<w:document/>");
  WriteFile(meet_->folder() + "/other.doc", "not recorded");
  meet_->OpenNewMeet();
  ASSERT_EQ(RecordOrderBookFile(name, 0), 0);
  HttpResponse reply = Get("/" + BrowserPath(GbkToUtf8(name)));
  EXPECT_EQ("application/msword", reply.Header("Content-Type"));
  EXPECT_EQ("<w:document/>", reply.body);
  EXPECT_EQ("<w:document/>", Get("/" + BrowserPath(name) + "?x=1").body);  // the GBK name and a query
  EXPECT_EQ(404, Get("/other.doc").status);
  EXPECT_EQ(404, Get("/x/../" + BrowserPath(GbkToUtf8(name))).status);
  DataGuard hold(DataLock);
  EXPECT_EQ(2, Model().DocumentList.front().Downloads);
}

}  // namespace

}  // namespace korva
