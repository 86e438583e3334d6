// The short help window and the About window: their texts, places and colours, the click of
// "Exit Help", the two links, and that every text fits its box with the program's fonts.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "fonts/BundledFonts.h"
#include "gui/FakePlatform.h"
#include "help/HelpWidgets.h"
#include "help/HelpWindows.h"
#include "resources/Resources.h"

namespace {

using qx::help::findHelpControl;

QLabel* label(const QDialog& dialog, int id) {
  return qobject_cast<QLabel*>(findHelpControl(&dialog, id));
}

QColor background(const QWidget* w) {
  return w->palette().color(QPalette::Window);
}
QColor foreground(const QWidget* w) {
  return w->palette().color(QPalette::WindowText);
}

void expectFixedWindow(const QDialog& dialog, const char* title, const QSize& size,
                       const QColor& colour) {
  EXPECT_EQ(dialog.windowTitle(), title);
  EXPECT_EQ(dialog.minimumSize(), size);
  EXPECT_EQ(dialog.maximumSize(), size);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(background(&dialog), colour);
}

// Runs `whileOpen` once the modal window has opened, from inside its own event loop.
void whenModal(std::function<void(QDialog*)> whileOpen) {
  QTimer::singleShot(0, [whileOpen = std::move(whileOpen)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    whileOpen(dialog);
  });
}

TEST(ShortHelp, TextsPlacesAndColours) {
  qx::test::FakePlatform platform;
  QWidget owner;
  const auto dialog = qx::buildShortHelp(&owner, platform);
  expectFixedWindow(*dialog, "Help", QSize(710, 528), QColor(167, 167, 167));
  EXPECT_TRUE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);

  QLabel* heading = label(*dialog, 100);
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->text(), "  Instruction:");
  EXPECT_EQ(heading->geometry(), QRect(0, 0, 710, 38));
  EXPECT_EQ(heading->font().family(), qx::serifFamily());  // Times New Roman or its twin
  EXPECT_EQ(heading->font().pointSize(), 20);
  EXPECT_TRUE(heading->font().bold() && heading->font().italic());
  EXPECT_EQ(background(heading), QColor(Qt::white));
  EXPECT_EQ(label(*dialog, 101)->text(),
            " 1. Select any FLV/F4V movie \n 2. Choose necessary options \n"
            " 3. Add any text and URL \n 4. Press the button \"Publish FLV/F4V\"\n"
            " 5. Set all output files to your Web page");
  EXPECT_TRUE(label(*dialog, 315)->text().contains("\"Publish for today's web...\""));
  EXPECT_EQ(label(*dialog, 103)->geometry(), QRect(10, 376, 300, 24));
  EXPECT_EQ(label(*dialog, 103)->font().pointSize(), 15);

  // The option rows: a name on dark grey and its explanation on light grey, 20 pixels apart.
  const std::vector<std::pair<int, int>> rows = {{109, 303}, {110, 304}, {111, 305}, {117, 306},
                                                 {119, 307}, {141, 309}, {139, 310}, {125, 308},
                                                 {127, 311}, {130, 312}, {136, 313}};
  int y = 150;
  for (const auto& [nameId, explanationId] : rows) {
    QLabel* name = label(*dialog, nameId);
    QLabel* explanation = label(*dialog, explanationId);
    ASSERT_TRUE(name && explanation) << nameId;
    EXPECT_EQ(name->geometry(), QRect(10, y, 110, nameId == 141 ? 20 : 19)) << nameId;
    EXPECT_EQ(explanation->geometry(), QRect(123, y, 580, 19)) << explanationId;
    EXPECT_EQ(background(name), QColor(85, 85, 85));
    EXPECT_EQ(foreground(name), QColor(Qt::white));
    EXPECT_EQ(background(explanation), QColor(192, 192, 192));
    EXPECT_EQ(name->frameShape(),
              nameId == 110 || nameId == 111 ? QFrame::StyledPanel : QFrame::Panel);
    y += 20;
  }
  EXPECT_EQ(label(*dialog, 119)->text(), "  Yaw value ");
  EXPECT_EQ(label(*dialog, 308)->text(), " Audio Volume, 0 to 100%,  100% is maximum value");
  EXPECT_EQ(label(*dialog, 313)->text(),
            " Add buffering time, in a seconds, time which need for buffering of video stream in "
            "the Internet (for slow connection).");

  QLabel* outputFiles = label(*dialog, 314);
  EXPECT_EQ(outputFiles->geometry(), QRect(10, 405, 694, 114));
  EXPECT_TRUE(outputFiles->text().startsWith("\n  1. Html Web Page\n  2. qx_flash_hs.swf\n"));
  EXPECT_TRUE(outputFiles->text().endsWith("\n  Set all output files to your Web page"));
  EXPECT_EQ(outputFiles->text().count('\n'), 7);
  EXPECT_EQ(background(outputFiles), QColor(128, 128, 128));
  EXPECT_EQ(foreground(outputFiles), QColor(Qt::white));

  auto* exitHelp = qobject_cast<QPushButton*>(findHelpControl(dialog.get(), 108));
  ASSERT_NE(exitHelp, nullptr);
  EXPECT_EQ(exitHelp->text(), "Exit Help");
  EXPECT_EQ(exitHelp->geometry(), QRect(645, 490, 50, 20));
  EXPECT_TRUE(exitHelp->isFlat());

  // Built again, the window is the same.
  const auto second = qx::buildShortHelp(&owner, platform);
  for (const QLabel* first : dialog->findChildren<QLabel*>()) {
    const QLabel* other = label(*second, qx::help::controlIdOf(first));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), first->text());
  }
}

TEST(ShortHelp, ExitHelpClicksAndClosesTheCloseBoxDoesNotClick) {
  qx::test::FakePlatform platform;
  QWidget owner;
  whenModal([](QDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Help");
    QTest::mouseClick(findHelpControl(dialog, 108), Qt::LeftButton);
  });
  qx::showShortHelp(&owner, platform);
  ASSERT_EQ(platform.sounds.size(), 1u);
  // The very click of the main window's commands, which the resources hold.
  EXPECT_EQ(platform.sounds[0], std::make_pair(std::string("sound3"), std::string("tick")));
  EXPECT_TRUE(qx::findResource(platform.sounds[0].first, platform.sounds[0].second));

  const auto dialog = qx::buildShortHelp(&owner, platform);
  dialog->show();
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 0);
  EXPECT_EQ(platform.sounds.size(), 1u);
}

TEST(About, TextsPlacesAndColoursInDialogUnits) {
  qx::test::FakePlatform platform;
  QWidget owner;
  const auto dialog = qx::buildAbout(&owner, platform);
  expectFixedWindow(*dialog, "About", QSize(330, 341), QColor(20, 50, 195));  // 220 x 210 units
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);

  QLabel* name = label(*dialog, 2001);
  const QStringList lines = name->text().split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0], "Velmora Rovev Avu Ruzi Vazudiru Ruredurov");
  EXPECT_FALSE(lines[1].isEmpty());
  EXPECT_EQ(foreground(name), QColor(180, 170, 95));
  EXPECT_EQ(name->geometry(), QRect(23, 8, 270, 49));
  EXPECT_EQ(label(*dialog, 101)->text(), " Build 011.01");
  EXPECT_EQ(label(*dialog, 101)->geometry(), QRect(225, 62, 75, 16));

  const auto cursorBytes = qx::findResource("CURSOR", "autor");
  ASSERT_TRUE(cursorBytes);
  const QImage ownCursor = QImage::fromData(reinterpret_cast<const uchar*>(cursorBytes->data()),
                                            int(cursorBytes->size()))
                               .convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(ownCursor.isNull());
  QLabel* mail = label(*dialog, 2002);
  QLabel* web = label(*dialog, 2004);
  EXPECT_EQ(mail->geometry(), QRect(0, 275, 105, 18));
  EXPECT_EQ(web->geometry(), QRect(105, 275, 212, 18));
  EXPECT_EQ(web->text(), qx::kWebSite);
  for (const QLabel* link : {mail, web}) {
    EXPECT_EQ(foreground(link), QColor(220, 210, 120));
    EXPECT_EQ(background(link), QColor(0, 0, 127));
    EXPECT_EQ(link->frameShadow(), QFrame::Sunken);
    // The program's own cursor, not the system's hand.
    EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32), ownCursor);
  }
  EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(name->cursor().shape(), Qt::ArrowCursor);
}

TEST(About, LinksOpenThroughThePlatformAndTheWindowStaysModal) {
  qx::test::FakePlatform platform;
  QWidget owner;
  whenModal([](QDialog* dialog) {
    QTest::mouseClick(findHelpControl(dialog, 2002), Qt::LeftButton);
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    QTest::mouseClick(findHelpControl(dialog, 2004), Qt::LeftButton);
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    QTest::mouseClick(findHelpControl(dialog, 2001), Qt::LeftButton);  // not a link
    dialog->close();
  });
  qx::showAbout(&owner, platform);
  EXPECT_EQ(platform.opened,
            (std::vector<QString>{"mailto:support@velmora.example", "http://www.velmora.example"}));
  EXPECT_TRUE(platform.sounds.empty());
}

TEST(HelpWindows, EveryTextFitsItsBox) {
  qx::test::FakePlatform platform;
  QWidget owner;
  const std::unique_ptr<QDialog> dialogs[] = {qx::buildShortHelp(&owner, platform),
                                              qx::buildAbout(&owner, platform)};
  for (const auto& dialog : dialogs) {
    for (const QLabel* shown : dialog->findChildren<QLabel*>()) {
      const QFontMetrics metrics(shown->font());
      const QStringList lines = shown->text().split('\n');
      int widest = 0;
      for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
      const QRect room = shown->contentsRect();
      EXPECT_LE(widest, room.width()) << shown->text().toStdString();
      EXPECT_LE(int(lines.size()) * metrics.lineSpacing(), room.height())
          << shown->text().toStdString();
      // Fitting never squeezes a text below the size of the windows' plain labels.
      EXPECT_GE(QFontInfo(shown->font()).pixelSize(), 11) << shown->text().toStdString();
    }
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4);
  }
}

}  // namespace
