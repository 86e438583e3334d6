// The utility's window driven as a person would, and its one-copy-at-a-time rule.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocalServer>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include "SelectorWindow.h"
#include "SingleInstance.h"
#include "common/TempFolder.h"
#include "common/TestMedia.h"
#include "project/FileIo.h"

using namespace qx::redirect;
namespace fs = std::filesystem;

namespace {

void publishFolder(const fs::path& dir, const std::string& codecs, double seconds) {
  ASSERT_EQ(qx::writeFileReplacing(dir / "tour.html",
                                   "<html><head><title>Tour</title></head><body><center>"),
            std::nullopt);
  ASSERT_EQ(qx::writeFileReplacing(dir / "config.xml",
                                   "\xEF\xBB\xBF<config><main><movie>tour.flv</movie>"
                                   "</main></config>"),
            std::nullopt);
  ASSERT_TRUE(testmedia::makeVideo(dir / "tour.flv", codecs, "flv", seconds));
}

// Stands in for the default browser: "Test in browser" opens its page here.
class BrowserStandIn : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

bool waitUntil(const std::function<bool()>& done, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

}  // namespace

TEST(SelectorWindow, ShowsTheChecksAndConverts) {
  TempFolder dir;
  publishFolder(dir.path(), "-c:v libx264 -preset ultrafast -c:a aac", 2);
  SelectorWindow window;
  EXPECT_EQ(window.windowTitle(), QString("Velmora Flash - Html5 WebGl Selector Utility"));

  window.openPage(dir.path() / "missing.html");
  EXPECT_TRUE(window.statusLabel()->text().contains("cannot be used"));
  EXPECT_EQ(window.checksView()->count(), 0);

  window.openPage(dir.path() / "tour.html");
  ASSERT_GT(window.checksView()->count(), 3);
  EXPECT_EQ(window.checksView()->item(0)->text().toStdString(),
            "OK: Video: H.264, copied as it is (no re-encoding).");
  if (!qx::webgl::embeddedWebAssets()) GTEST_SKIP() << "this build carries no web/ templates";

  window.convert();
  EXPECT_TRUE(window.converting());
  ASSERT_TRUE(waitUntil([&] { return !window.converting(); }));
  EXPECT_TRUE(window.statusLabel()->text().startsWith("Done"))
      << window.statusLabel()->text().toStdString();
  EXPECT_GE(window.writtenView()->count(), 4);
  EXPECT_TRUE(fs::exists(dir.path() / "tour.mp4"));
  EXPECT_TRUE(fs::exists(dir.path() / "tour.select.html"));

  // Test in browser: the folder is served on 127.0.0.1 and the WebGL page opened from there.
  BrowserStandIn browser;
  QDesktopServices::setUrlHandler("http", &browser, "open");
  window.testInBrowser();
  QDesktopServices::unsetUrlHandler("http");
  ASSERT_EQ(browser.opened.size(), 1);
  const QUrl url = browser.opened.front();
  EXPECT_EQ(url.host(), "127.0.0.1");
  EXPECT_EQ(url.path(), "/tour.webgl.html");
  QNetworkAccessManager network;
  QNetworkReply* reply = network.get(QNetworkRequest(url));
  ASSERT_TRUE(waitUntil([&] { return reply->isFinished(); }, 10000));
  EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
  EXPECT_TRUE(reply->readAll().contains("\"video\": \"tour.mp4\""));
  reply->deleteLater();
}

TEST(SelectorWindow, CancelStopsTheWorkerAndWritesNothing) {
  if (!qx::webgl::embeddedWebAssets()) GTEST_SKIP() << "this build carries no web/ templates";
  TempFolder dir;
  publishFolder(dir.path(), "-c:v flv1 -c:a libmp3lame", 20);
  SelectorWindow window;
  window.openPage(dir.path() / "tour.html");
  window.convert();
  ASSERT_TRUE(window.converting());
  window.cancel();
  ASSERT_TRUE(waitUntil([&] { return !window.converting(); }));
  EXPECT_TRUE(window.statusLabel()->text().startsWith("Cancelled"));
  EXPECT_EQ(window.writtenView()->count(), 0);
  EXPECT_FALSE(fs::exists(dir.path() / "tour.mp4"));
  EXPECT_FALSE(fs::exists(dir.path() / "tour.webgl.html"));
}

TEST(SingleInstance, ASecondStartRaisesTheFirst) {
  EXPECT_EQ(askRunningCopyToRaise(200), RunningCopy::None);
  int raised = 0;
  InstanceListener listener([&] { ++raised; });
  ASSERT_TRUE(listener.listen());
  EXPECT_EQ(askRunningCopyToRaise(), RunningCopy::Raised);
  ASSERT_TRUE(waitUntil([&] { return raised == 1; }, 5000));
  // A second listener cannot take the name while the first holds it.
  InstanceListener second([] {});
  EXPECT_FALSE(second.listen());
  ASSERT_TRUE(waitUntil([&] { return raised == 2; }, 5000));
}

TEST(SingleInstance, ANameHeldByAnotherUserIsNotTrusted) {
  // The shared name of old, taken first by someone else, no longer answers for this user.
  QLocalServer squatter;
  QLocalServer::removeServer(QStringLiteral("velmora_redirect"));
  ASSERT_TRUE(squatter.listen(QStringLiteral("velmora_redirect")));
  EXPECT_NE(instanceServerName(), squatter.fullServerName());
  EXPECT_EQ(askRunningCopyToRaise(200), RunningCopy::None);
  squatter.close();

  // At the user's own name: a socket another user owns is never spoken to nor taken over.
  if (geteuid() != 0) GTEST_SKIP() << "giving a socket to another user needs root";
  QLocalServer stranger;
  QLocalServer::removeServer(instanceServerName());
  ASSERT_TRUE(stranger.listen(instanceServerName()));
  ASSERT_EQ(chown(QFile::encodeName(instanceServerName()).constData(), 12345, 12345), 0);
  EXPECT_EQ(askRunningCopyToRaise(200), RunningCopy::Stranger);
  InstanceListener listener([] {});
  EXPECT_FALSE(listener.listen());
  EXPECT_TRUE(QFileInfo::exists(instanceServerName()));
  stranger.close();
}

#include "SelectorWindowTest.moc"
