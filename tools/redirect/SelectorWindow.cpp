#include "SelectorWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "serve/ServeFolder.h"

namespace qx::redirect {
namespace {

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}
QString qs(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

QIcon levelIcon(const QStyle* style, webgl::CheckLevel level) {
  switch (level) {
    case webgl::CheckLevel::Ok:
      return style->standardIcon(QStyle::SP_DialogApplyButton);
    case webgl::CheckLevel::Note:
      return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case webgl::CheckLevel::Warning:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case webgl::CheckLevel::Problem:
      return style->standardIcon(QStyle::SP_MessageBoxCritical);
  }
  return {};
}

}  // namespace

SelectorWindow::SelectorWindow() {
  setWindowTitle(QString::fromLatin1(kWindowTitle));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  auto* pageRow = new QHBoxLayout;
  pageRow->addWidget(new QLabel(tr("Published page:"), central));
  pagePath_ = new QLineEdit(central);
  pagePath_->setReadOnly(true);
  pagePath_->setPlaceholderText(tr("Choose the HTML page that Publish FLV wrote"));
  pageRow->addWidget(pagePath_, 1);
  auto* choose = new QPushButton(tr("&Choose page..."), central);
  pageRow->addWidget(choose);
  layout->addLayout(pageRow);

  summary_ = new QLabel(central);
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(summary_);

  auto* checksBox = new QGroupBox(tr("Checks"), central);
  auto* checksLayout = new QVBoxLayout(checksBox);
  // A list rather than a table: the texts are sentences, and they wrap whole.
  checks_ = new QListWidget(checksBox);
  checks_->setWordWrap(true);
  checks_->setUniformItemSizes(false);
  checks_->setResizeMode(QListView::Adjust);
  checksLayout->addWidget(checks_);
  layout->addWidget(checksBox, 2);

  auto* convertRow = new QHBoxLayout;
  convert_ = new QPushButton(tr("Con&vert"), central);
  progress_ = new QProgressBar(central);
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  progress_->setTextVisible(true);
  progress_->setFormat(QStringLiteral("%p%"));
  cancel_ = new QPushButton(tr("Cancel"), central);
  convertRow->addWidget(convert_);
  convertRow->addWidget(progress_, 1);
  convertRow->addWidget(cancel_);
  layout->addLayout(convertRow);
  status_ = new QLabel(central);
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* writtenBox = new QGroupBox(tr("Files written"), central);
  auto* writtenLayout = new QVBoxLayout(writtenBox);
  written_ = new QListWidget(writtenBox);
  writtenLayout->addWidget(written_);
  layout->addWidget(writtenBox, 1);

  auto* testRow = new QHBoxLayout;
  testRow->addStretch(1);
  test_ = new QPushButton(tr("&Test in browser"), central);
  testRow->addWidget(test_);
  layout->addLayout(testRow);

  setCentralWidget(central);
  resize(760, 600);

  connect(choose, &QPushButton::clicked, this, [this] { choosePage(); });
  connect(convert_, &QPushButton::clicked, this, [this] { convert(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
  connect(test_, &QPushButton::clicked, this, [this] { testInBrowser(); });
  updateButtons();
}

SelectorWindow::~SelectorWindow() {
  cancelFlag_ = true;
  if (worker_) worker_->wait();
}

void SelectorWindow::choosePage() {
  const QString start =
      pagePath_->text().isEmpty()
          ? QString()
          : qs(std::filesystem::path(pagePath_->text().toStdString()).parent_path());
  const QString file = QFileDialog::getOpenFileName(this, tr("Choose a published page"), start,
                                                    tr("Html Web page (*.html *.htm)"));
  if (!file.isEmpty()) openPage(file.toStdString());
}

void SelectorWindow::openPage(const std::filesystem::path& page) {
  if (worker_) return;
  pagePath_->setText(qs(page));
  checks_->clear();
  written_->clear();
  testable_ = false;
  progress_->setValue(0);
  server_.reset();
  auto plan = webgl::planWebglVersion(page);
  if (!plan) {
    plan_.reset();
    summary_->clear();
    status_->setText(tr("This page cannot be used: %1").arg(qs(plan.error().message())));
    updateButtons();
    return;
  }
  plan_ = std::move(plan).value();
  const webgl::WebglNames& n = plan_->names;
  const webgl::MediaInfo& m = plan_->media;
  summary_->setText(
      tr("Video: %1 (%2, %3 MB). Writes %4, qx_webgl.js, %5 and %6 beside the page.")
          .arg(qs(n.sourceVideo.filename()), qs(webgl::durationText(m.duration)))
          .arg(static_cast<double>(m.fileSize) / 1e6, 0, 'f', 1)
          .arg(qs(n.webglPage.filename()), qs(n.video.filename()), qs(n.selectPage.filename())) +
      (webgl::writesLighterVideo(*plan_)
           ? tr(" Also %1, a lighter copy for small screens and slow links.")
                 .arg(qs(n.lighterVideo.filename()))
           : QString()));
  for (const webgl::Check& c : plan_->checks) {
    auto* item = new QListWidgetItem(
        levelIcon(style(), c.level),
        QString::fromLatin1(webgl::levelText(c.level)) + ": " + qs(c.text), checks_);
    item->setToolTip(item->text());
  }
  status_->setText(
      webgl::canConvert(plan_->checks)
          ? (plan_->media.remuxOnly()
                 ? tr("Ready: the video is copied into MP4 without re-encoding.")
                 : tr("Ready: the video is re-encoded for browsers; this takes a while."))
          : tr("The video cannot be made ready for browsers (see the checks)."));
  updateButtons();
}

void SelectorWindow::convert() {
  if (worker_ || !plan_ || !webgl::canConvert(plan_->checks)) return;
  const auto assets = webgl::embeddedWebAssets();
  if (!assets) {
    status_->setText(tr("This build carries no WebGL page templates; it cannot write the pages."));
    return;
  }
  cancelFlag_ = false;
  written_->clear();
  testable_ = false;
  server_.reset();
  progress_->setValue(0);
  status_->setText(tr("Converting..."));
  auto outcome = std::make_shared<webgl::WebglOutcome>();
  webgl::ConversionControl control;
  control.cancel = &cancelFlag_;
  control.progress = [this](double done) {
    QMetaObject::invokeMethod(
        this, [this, done] { progress_->setValue(static_cast<int>(done * 1000)); },
        Qt::QueuedConnection);
  };
  worker_.reset(QThread::create([plan = *plan_, assets = *assets, control, outcome] {
    *outcome = webgl::writeWebglVersion(plan, assets, control);
  }));
  connect(worker_.get(), &QThread::finished, this, [this, outcome] {
    worker_->wait();
    worker_.reset();
    conversionEnded(*outcome);
  });
  worker_->start();
  updateButtons();
}

void SelectorWindow::cancel() {
  if (!worker_) return;
  cancelFlag_ = true;
  status_->setText(tr("Cancelling..."));
}

void SelectorWindow::conversionEnded(const webgl::WebglOutcome& outcome) {
  for (const auto& path : outcome.written) written_->addItem(qs(path));
  switch (outcome.status) {
    case webgl::ConversionStatus::Done:
      testable_ = true;
      progress_->setValue(1000);
      status_->setText(tr("Done. Upload these files with the Flash page's files; link to %1.")
                           .arg(qs(plan_->names.selectPage.filename())));
      break;
    case webgl::ConversionStatus::Cancelled:
      progress_->setValue(0);
      status_->setText(tr("Cancelled. Nothing was written."));
      break;
    case webgl::ConversionStatus::Failed:
      status_->setText(tr("Failed: %1").arg(qs(outcome.error)));
      break;
  }
  updateButtons();
}

void SelectorWindow::testInBrowser() {
  if (!plan_ || !testable_) return;
  if (!server_) {
    serve::ServedFolder served = serve::serveFolder(plan_->names.flashPage.parent_path(), false);
    if (!served.server) {
      status_->setText(tr("The test server cannot start: %1").arg(served.reason));
      return;
    }
    server_ = std::move(served.server);
  }
  const QUrl url(server_->baseUrl() + QString::fromStdString(webgl::urlName(
                                          plan_->names.webglPage.filename().string())));
  status_->setText(
      tr("Serving the folder at %1 while this window is open.").arg(server_->baseUrl()));
  if (!QDesktopServices::openUrl(url))
    status_->setText(tr("No browser could be opened; open %1 yourself.").arg(url.toString()));
}

void SelectorWindow::bringForward() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void SelectorWindow::closeEvent(QCloseEvent* event) {
  if (worker_) {
    cancelFlag_ = true;
    worker_->wait();
  }
  event->accept();
}

void SelectorWindow::updateButtons() {
  const bool busy = worker_ != nullptr;
  convert_->setEnabled(!busy && plan_ && webgl::canConvert(plan_->checks));
  cancel_->setEnabled(busy);
  test_->setEnabled(!busy && testable_);
}

}  // namespace qx::redirect
