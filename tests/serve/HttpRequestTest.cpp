// The folder server's decisions, without a socket: ranges, request heads and which file a path
// names.
#include <gtest/gtest.h>
#include <unistd.h>

#include "common/TempFolder.h"
#include "project/FileIo.h"
#include "serve/HttpRequest.h"

using namespace qx::serve;
namespace fs = std::filesystem;

TEST(HttpRange, SingleRangesAnsweredOthersIgnored) {
  const auto range = [](const char* header, std::uint64_t size) {
    return answerRange(header ? std::optional<std::string>(header) : std::nullopt, size);
  };
  const auto partial = [&](const char* header, std::uint64_t size, std::uint64_t first,
                           std::uint64_t last) {
    const RangeAnswer a = range(header, size);
    EXPECT_EQ(a.kind, RangeKind::Partial) << header;
    EXPECT_EQ(a.first, first) << header;
    EXPECT_EQ(a.last, last) << header;
  };
  partial("bytes=0-99", 1000, 0, 99);
  partial("bytes=100-", 1000, 100, 999);
  partial("bytes=-100", 1000, 900, 999);
  partial("bytes=-5000", 1000, 0, 999);       // more than the file: all of it
  partial("bytes=990-5000", 1000, 990, 999);  // runs past the end: cut
  partial("Bytes=5-5", 1000, 5, 5);
  partial("bytes=0-99999999999999999999999", 1000, 0, 999);
  EXPECT_EQ(range("bytes=1000-", 1000).kind, RangeKind::Unsatisfiable);
  EXPECT_EQ(range("bytes=99999999999999999999999-", 1000).kind, RangeKind::Unsatisfiable);
  EXPECT_EQ(range("bytes=-0", 1000).kind, RangeKind::Unsatisfiable);
  EXPECT_EQ(range("bytes=0-", 0).kind, RangeKind::Unsatisfiable);
  for (const char* ignored : {"bytes=5-1", "bytes=0-1,5-6", "items=0-1", "bytes=a-b", "bytes=",
                              "bytes=-", "bytes=1", "bytes=--1", "bytes=+1-2", "bytes=0x10-"})
    EXPECT_EQ(range(ignored, 1000).kind, RangeKind::Whole) << ignored;
  EXPECT_EQ(range(nullptr, 1000).kind, RangeKind::Whole);
}

TEST(HttpRequestHead, ParsedStrictly) {
  auto head = parseRequestHead(
      "GET /a%20b.html?x=1 HTTP/1.1\r\nHost: x\r\nRange:  bytes=0-1 \r\nX-A: 1\r\nx-a: 2");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->method, "GET");
  EXPECT_EQ(head->target, "/a%20b.html?x=1");
  EXPECT_EQ(head->header("range"), "bytes=0-1");
  EXPECT_EQ(head->header("x-a"), "1, 2");
  EXPECT_TRUE(head->keepAlive());
  EXPECT_FALSE(parseRequestHead("GET / HTTP/1.1\r\nConnection: close")->keepAlive());
  EXPECT_FALSE(parseRequestHead("GET / HTTP/1.0")->keepAlive());
  EXPECT_TRUE(parseRequestHead("GET / HTTP/1.0\r\nConnection: Keep-Alive")->keepAlive());
  for (const char* bad : {"", "GET", "GET /", "GET / HTTP/2.0", "GET  / HTTP/1.1", "G(T / HTTP/1.1",
                          "GET / HTTP/1.1\r\nno colon", "GET / HTTP/1.1\r\nBad Name: x"})
    EXPECT_FALSE(parseRequestHead(bad)) << bad;
  EXPECT_FALSE(parseRequestHead("GET /" + std::string(kMaxHeadSize, 'a') + " HTTP/1.1"));
}

TEST(HttpTarget, StaysInsideTheFolder) {
  TempFolder outer;
  const fs::path root = outer.path() / "site";
  fs::create_directories(root / "images");
  ASSERT_EQ(qx::writeFileReplacing(root / "tour.html", "t"), std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(root / "my tour.html", "t"), std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(root / "images" / "hs1.gif", "g"), std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(root / ".secret", "s"), std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(outer.path() / "private.txt", "p"), std::nullopt);
  fs::create_symlink(outer.path() / "private.txt", root / "link.txt");
  fs::create_symlink(root / "tour.html", root / "inner.html");

  const fs::path real = fs::canonical(root);
  EXPECT_EQ(resolveTarget(root, "/tour.html"), real / "tour.html");
  EXPECT_EQ(resolveTarget(root, "/tour.html?v=2#top"), real / "tour.html");
  EXPECT_EQ(resolveTarget(root, "/my%20tour.html"), real / "my tour.html");
  EXPECT_EQ(resolveTarget(root, "//images/./hs1.gif"), real / "images" / "hs1.gif");
  EXPECT_EQ(resolveTarget(root, "http://127.0.0.1:8000/images/hs1.gif"),
            real / "images" / "hs1.gif");
  EXPECT_EQ(resolveTarget(root, "/inner.html"), real / "tour.html");
  for (const char* refused : {"/../private.txt", "/images/../../private.txt", "/%2e%2e/private.txt",
                              "/%2E%2E%2Fprivate.txt", "/..%5cprivate.txt", "/link.txt", "/.secret",
                              "/", "/images", "/images/", "tour.html", "", "/tour.html%00.gif",
                              "/%zz", "/%4", "/missing.html", "http://host"})
    EXPECT_FALSE(resolveTarget(root, refused)) << refused;
}

TEST(HttpTarget, ContentTypes) {
  EXPECT_EQ(contentType("a.HTML"), "text/html; charset=utf-8");
  EXPECT_EQ(contentType("qx_webgl.js"), "text/javascript; charset=utf-8");
  EXPECT_EQ(contentType("tour.mp4"), "video/mp4");
  EXPECT_EQ(contentType("hs1.gif"), "image/gif");
  EXPECT_EQ(contentType("config.xml"), "application/xml");
  EXPECT_EQ(contentType("qx_flash_hs.swf"), "application/x-shockwave-flash");
  EXPECT_EQ(contentType("a.css"), "text/css; charset=utf-8");
  EXPECT_EQ(contentType("a.json"), "application/json");
  EXPECT_EQ(contentType("README"), "application/octet-stream");
}
