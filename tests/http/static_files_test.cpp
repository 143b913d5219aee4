// Scripts, style sheets, images and documents: the growing ETag and 304,
// and that nothing outside the image folder or the recorded documents is
// ever served.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/temp_folder.h"
#include "web/route_table.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class StaticFilesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    std::string images = outside_.File("image");
    std::filesystem::create_directory(images);
    WriteFile(images + "/tip.jpg", std::string("\xFF\xD8jpeg\0bytes", 11));
    WriteFile(images + "/Notify.mp3", "ID3sound");
    WriteFile(outside_.File("secret.jpg"), "secret");
    WriteFile(outside_.File("secret.doc"), "secret");
    SetImageFolder(images);
  }
  void TearDown() override {
    SetImageFolder("");
    ServerTest::TearDown();
  }
  TempFolder outside_;
};

TEST_F(StaticFilesTest, ScriptsCarryAGrowingETagAndAnswer304ToQV2016) {
  HttpResponse first = Get("/admin.css");
  HttpResponse second = Get("/admin.css");
  EXPECT_EQ(200, first.status);
  EXPECT_EQ("text/css;charset=GB2312", first.Header("Content-Type"));
  EXPECT_NE(std::string::npos, first.body.find(".TabDivBai"));
  std::string etag1 = first.Header("ETag");
  std::string etag2 = second.Header("ETag");
  EXPECT_NE(std::string::npos, etag1.find("QV2016"));
  EXPECT_LT(std::atoi(etag1.c_str() + etag1.find('-') + 1), std::atoi(etag2.c_str() + etag2.find('-') + 1));
  EXPECT_FALSE(first.Header("Last-Modified").empty());

  HttpResponse cached = Ask(RequestText("GET", "/admin.js", 0, {}, "If-None-Match: \"QV2016-1\"\r\n"));
  EXPECT_EQ(304, cached.status);
  EXPECT_EQ("", cached.body);
}

void FakeCss(int layout_key, std::string& css) { css = ".jz{top:" + std::to_string(layout_key) + "mm}"; }

TEST_F(StaticFilesTest, PrintStyleSheetComesFromTheSessionsLayout) {
  SetCertificateCssHook(FakeCss);
  int admin = LoginAdmin();
  HttpResponse css = Get("/view.css?r=5", admin);
  SetCertificateCssHook(nullptr);
  EXPECT_EQ(".jz{top:1mm}", css.body);  // the administrator's account id keys the layout
}

TEST_F(StaticFilesTest, ImagesAndSoundComeFromTheImageFolderOnly) {
  HttpResponse image = Get("/tip.jpg");
  EXPECT_EQ(200, image.status);
  EXPECT_EQ("image/jpeg", image.Header("Content-Type"));
  EXPECT_EQ(std::string("\xFF\xD8jpeg\0bytes", 11), image.body);
  EXPECT_EQ("audio/mpeg", Get("/Notify.mp3").Header("Content-Type"));
  for (const char* path : {"/missing.jpg", "/../secret.jpg", "/%2e%2e/secret.jpg", "/..%2fsecret.jpg",
                           "/%2E%2E%5Csecret.jpg", "//tmp/secret.jpg", "/a/../../secret.jpg",
                           "/c:secret.jpg", "/tip.jpg%00.jpg"}) {
    HttpResponse reply = Get(path);
    EXPECT_EQ(404, reply.status) << path;
    EXPECT_EQ(std::string::npos, reply.body.find("secret")) << path;
  }
}

TEST_F(StaticFilesTest, DocumentsAreServedOnlyWhenRecordedAndCountDownloads) {
  WriteFile(meet_->folder() + "/book.doc", "<w:document/>");
  WriteFile(meet_->folder() + "/other.doc", "not recorded");
  {
    DataGuard hold(DataLock);
    DocumentNode book;
    book.Id = 1;
    book.Kind = 1;
    book.FilePath = "book.doc";
    Model().DocumentList.push_back(book);
  }
  HttpResponse reply = Get("/book.doc");
  EXPECT_EQ(200, reply.status);
  EXPECT_EQ("application/msword", reply.Header("Content-Type"));
  EXPECT_EQ("<w:document/>", reply.body);
  Get("/book.doc?x=1");
  EXPECT_EQ(404, Get("/other.doc").status);
  EXPECT_EQ(404, Get("/../secret.doc").status);
  DataGuard hold(DataLock);
  EXPECT_EQ(2, Model().DocumentList.front().Downloads);
  Model().DocumentList.clear();
}

// Percent-encodes the bytes above ASCII, as a browser does in a path.
std::string EncodePath(const std::string& bytes) {
  std::string path;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      path += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      path += hex;
    }
  }
  return path;
}

TEST_F(StaticFilesTest, DocumentNameComesInUtf8OrGbk) {
  std::string name = "秩序册(2024520).doc";  // GBK, as the list holds it
  WriteFile(meet_->folder() + "/" + GbkToUtf8(name), "book");
  {
    DataGuard hold(DataLock);
    DocumentNode book;
    book.FilePath = name;
    Model().DocumentList.push_back(book);
  }
  EXPECT_EQ("book", Get("/" + EncodePath(GbkToUtf8(name))).body);
  EXPECT_EQ("book", Get("/" + EncodePath(name)).body);
  DataGuard hold(DataLock);
  EXPECT_EQ(2, Model().DocumentList.front().Downloads);
  Model().DocumentList.clear();
}

}  // namespace
