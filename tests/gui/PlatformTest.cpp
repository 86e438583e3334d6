// The Qt platform layer's own logic: the redirect utility found through its local server, the
// file-dialog filters, and the WAVE reading behind the click sound.
#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "platform/MediaModule.h"
#include "platform/Platform.h"
#include "platform/QtText.h"
#include "platform/WaveSound.h"
#include "resources/Resources.h"

namespace qx {
namespace {

const QString kRedirectCaption = QStringLiteral("Velmora Flash - Html5 WebGl Selector Utility");

MediaModule& builtMedia() {
  static MediaModule module{std::filesystem::path(QX_MEDIA_MODULE_FILE)};
  return module;
}

TEST(QtPlatform, BringsTheRedirectUtilityForwardThroughItsLocalServer) {
  // A server name of this test's own, so that a utility running meanwhile plays no part.
  const QString name =
      QStringLiteral("qx_test_redirect_%1").arg(QCoreApplication::applicationPid());
  const auto platform = makeQtPlatform(name, builtMedia());
  EXPECT_FALSE(platform->activateProgram(QStringLiteral("Some other window")));
  EXPECT_FALSE(platform->activateProgram(kRedirectCaption));  // none runs yet

  QLocalServer server;
  ASSERT_TRUE(server.listen(name));
  QByteArray received;
  QObject::connect(&server, &QLocalServer::newConnection, [&] {
    QLocalSocket* client = server.nextPendingConnection();
    QObject::connect(client, &QLocalSocket::readyRead,
                     [&received, client] { received += client->readAll(); });
  });
  // The server answers from the event loop while the platform waits for the connection.
  EXPECT_TRUE(platform->activateProgram(kRedirectCaption));
  EXPECT_TRUE(QTest::qWaitFor([&] { return received == "raise\n"; }, 2000));
  server.close();
  EXPECT_FALSE(platform->activateProgram(kRedirectCaption));
}

// The top-level dialogs of type D that are open now.
template <class D>
std::vector<D*> openDialogs() {
  std::vector<D*> found;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) found.push_back(d);
  return found;
}

TEST(QtPlatform, ColourDialogsAnswerEachAsItCloses) {
  const auto platform = makeQtPlatform(QStringLiteral("qx-platform-test-unused"), builtMedia());
  std::vector<std::optional<std::uint32_t>> white, black;
  platform->chooseColour(nullptr, 0xFFFFFF, [&](auto colour) { white.push_back(colour); });
  platform->chooseColour(nullptr, 0x000000, [&](auto colour) { black.push_back(colour); });
  auto dialogs = openDialogs<QColorDialog>();
  ASSERT_EQ(dialogs.size(), 2u);
  if (dialogs[0]->currentColor() != Qt::white) std::swap(dialogs[0], dialogs[1]);
  dialogs[0]->setCurrentColor(QColor(255, 0, 0));
  dialogs[0]->accept();
  EXPECT_EQ(white, (std::vector<std::optional<std::uint32_t>>{0x0000FF}));
  EXPECT_TRUE(black.empty());
  dialogs[1]->reject();
  EXPECT_EQ(black, (std::vector<std::optional<std::uint32_t>>{std::nullopt}));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(openDialogs<QColorDialog>().empty());
}

TEST(QtPlatform, FileDialogsShowTheirInitialNameAndTakeNoPatternAsAFile) {
  const auto platform = makeQtPlatform(QStringLiteral("qx-platform-test-unused"), builtMedia());
  TempFolder folder;
  FileDialogRequest request{true,
                            QStringLiteral("Save the Project"),
                            QStringLiteral("Project file (*.pp)"),
                            QStringLiteral("*.pp"),
                            QStringLiteral("*.pp"),
                            toQString(folder.path()),
                            {}};
  QString shown;
  int accepts = 0;
  std::function<void()> step = [&] {
    auto dialogs = openDialogs<QFileDialog>();
    if (dialogs.size() != 1) return QTimer::singleShot(10, step);
    auto* name = dialogs[0]->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (accepts == 0) shown = name ? name->text() : QStringLiteral("<no name box>");
    if (accepts++ == 0) {
      QMetaObject::invokeMethod(dialogs[0], "accept");  // "*.pp" still in the box: stays open
      QTimer::singleShot(10, step);
    } else {
      dialogs[0]->reject();
    }
  };
  QTimer::singleShot(0, step);
  // Inside the application's own loop: a window test before may have asked it to end, which
  // makes every nested loop (the dialog's) return at once until the application loop restarts.
  QStringList chosen{QStringLiteral("<not run>")};
  QTimer::singleShot(0, [&] {
    chosen = platform->runFileDialog(nullptr, request);
    QCoreApplication::exit(0);
  });
  QCoreApplication::exec();
  EXPECT_TRUE(chosen.isEmpty());
  EXPECT_EQ(shown, QStringLiteral("*.pp"));
  EXPECT_EQ(accepts, 2);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "*.pp"));
}

TEST(QtPlatform, FileFiltersTakeTheFormQtReads) {
  EXPECT_EQ(
      qtFileFilter(QStringLiteral("Video files (*.flv;*.f4v)"), QStringLiteral("*.flv; *.f4v")),
      QStringLiteral("Video files (*.flv *.f4v)"));
  EXPECT_EQ(qtFileFilter(QStringLiteral("Project files"), QStringLiteral("*.pp")),
            QStringLiteral("Project files (*.pp)"));
  EXPECT_EQ(qtFileFilter(QStringLiteral("Html Web page (*.html)"), QStringLiteral("*.html")),
            QStringLiteral("Html Web page (*.html)"));
}

std::vector<std::byte> bytes(std::string_view text) {
  std::vector<std::byte> out;
  for (const char c : text) out.push_back(static_cast<std::byte>(c));
  return out;
}

TEST(WaveSound, TheClickIsAPlayableWave) {
  const auto click = findResource("sound3", "tick");
  ASSERT_TRUE(click);
  const auto wave = parseWave(*click);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->sampleRate, 22050);
  EXPECT_EQ(wave->bitsPerSample, 16);
  // Short enough to be a click, long enough to be heard.
  const double seconds = static_cast<double>(wave->samples.size()) / 2 / wave->sampleRate;
  EXPECT_GT(seconds, 0.01);
  EXPECT_LT(seconds, 0.2);
}

TEST(WaveSound, AnythingButWholePcmIsRefused) {
  // RIFF header, fmt chunk (PCM, mono, 8000 Hz, 8 bit), data chunk of 4 samples.
  std::string good(
      "RIFF\x2C\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0"
      "data\x04\0\0\0\x80\x90\xA0\xB0",
      48);
  const auto whole = bytes(good);
  const auto wave = parseWave(whole);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->bitsPerSample, 8);
  EXPECT_EQ(wave->samples.size(), 4u);
  // Truncated data, a compressed format, no data chunk, not a WAVE at all.
  EXPECT_FALSE(parseWave(std::span(whole).first(whole.size() - 1)));
  auto compressed = whole;
  compressed[20] = std::byte{2};
  EXPECT_FALSE(parseWave(compressed));
  EXPECT_FALSE(parseWave(std::span(whole).first(36)));
  EXPECT_FALSE(parseWave(bytes("RIFF\0\0\0\0AVI LIST")));
  EXPECT_FALSE(parseWave({}));
}

}  // namespace
}  // namespace qx
