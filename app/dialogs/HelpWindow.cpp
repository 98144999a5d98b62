#include "app/dialogs/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <functional>

// The pages are built into the program as the resource "zentrik_help".
static void register_help_resources() { Q_INIT_RESOURCE(zentrik_help); }

static void init_help_resources() {
  static const bool registered = (register_help_resources(), true);
  (void)registered;
}

namespace zentrik {
namespace {

const QString kFolder = QStringLiteral(":/help");
// The contents page is made here from the list of pages, under a name no page has.
const QUrl kContentsUrl(QStringLiteral("qrc:/help/zentrik-help-contents"));

QString read_page(const QString& page) {
  QFile file(kFolder + "/" + page);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

bool is_contents(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment) == kContentsUrl; }

QString page_of(const QUrl& url) {
  if (is_contents(url) || url.isEmpty()) return {};
  return url.path().section('/', -1);
}

QUrl url_of(const QString& page) {
  return page.isEmpty() ? kContentsUrl : QUrl(QStringLiteral("qrc:/help/") + page);
}

// Each page as plain text, as it reads on the screen, for the search.
const QHash<QString, QString>& page_texts() {
  static const QHash<QString, QString> texts = [] {
    QHash<QString, QString> all;
    for (const QString& page : HelpWindow::pages()) {
      QTextDocument document;
      document.setMarkdown(read_page(page));
      all.insert(page, document.toPlainText());
    }
    return all;
  }();
  return texts;
}

QString contents_markdown() {
  QString text = QStringLiteral("# Zentrik Help\n\n");
  for (const QString& page : HelpWindow::pages())
    text += QStringLiteral("- [%1](%2)\n").arg(HelpWindow::pageTitle(page), page);
  text += QObject::tr("\nTo find a word on every page, type it into the Search field and press Enter.\n");
  return text;
}

QPointer<HelpWindow>& the_help_window() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

// Shows the pages of the guide as Markdown; links to pages the guide does not have
// are refused instead of showing an empty page, and links to web addresses open in
// the desktop's browser.
class HelpBrowser : public QTextBrowser {
 public:
  explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) { setOpenExternalLinks(true); }

  std::function<void(const QUrl&)> on_refused;

  QVariant loadResource(int type, const QUrl& name) override {
    if (is_contents(name)) return contents_markdown();
    return QTextBrowser::loadResource(type, name);
  }

 protected:
  void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override {
    if (!is_contents(url)) {
      const bool page = url.scheme() == QLatin1String("qrc") && url.path().startsWith(QLatin1String("/help/")) &&
                        QFile::exists(QLatin1Char(':') + url.path());
      if (!page) {
        if (on_refused) on_refused(url);
        return;
      }
    }
    if (type == QTextDocument::UnknownResource) type = QTextDocument::MarkdownResource;
    QTextBrowser::doSetSource(url, type);
  }
};

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  init_help_resources();
  setWindowTitle(tr("Zentrik Help"));
  auto* layout = new QVBoxLayout(this);

  auto* bar = new QHBoxLayout;
  back_ = new QPushButton(tr("&Back"), this);
  forward_ = new QPushButton(tr("&Forward"), this);
  contents_ = new QPushButton(tr("&Contents"), this);
  auto* search_label = new QLabel(tr("&Search:"), this);
  search_field_ = new QLineEdit(this);
  search_field_->setClearButtonEnabled(true);
  search_field_->setPlaceholderText(tr("a word to find on every page"));
  search_label->setBuddy(search_field_);
  auto* find = new QPushButton(tr("F&ind"), this);
  for (QPushButton* button : {back_, forward_, contents_, find}) button->setAutoDefault(false);
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(contents_);
  bar->addStretch();
  bar->addWidget(search_label);
  bar->addWidget(search_field_, 1);
  bar->addWidget(find);
  layout->addLayout(bar);

  auto* splitter = new QSplitter(this);
  results_ = new QListWidget(splitter);
  results_->hide();
  browser_ = new HelpBrowser(splitter);
  splitter->addWidget(results_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({180, 600});
  layout->addWidget(splitter, 1);
  status_ = new QLabel(this);
  layout->addWidget(status_);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(contents_, &QPushButton::clicked, this, [this] { openPage({}); });
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { pageChanged(page_of(url)); });
  connect(search_field_, &QLineEdit::returnPressed, this, [this] { search(search_field_->text()); });
  connect(find, &QPushButton::clicked, this, [this] { search(search_field_->text()); });
  connect(results_, &QListWidget::currentRowChanged, this, [this](int row) { openResult(row); });
  browser_->on_refused = [this](const QUrl& url) {
    status_->setText(tr("\"%1\" is not a page of this guide.").arg(url.toDisplayString()));
  };
  auto* close = new QShortcut(QKeySequence::Close, this);
  connect(close, &QShortcut::activated, this, &QWidget::close);

  resize(820, 600);
  openPage({});
}

QStringList HelpWindow::pages() {
  init_help_resources();
  return QDir(kFolder).entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
}

QString HelpWindow::pageTitle(const QString& page) {
  const QStringList lines = read_page(page).split('\n');
  for (const QString& line : lines)
    if (line.startsWith(QLatin1String("# "))) return line.mid(2).trimmed();
  return page;
}

bool HelpWindow::openPage(const QString& page) {
  if (!page.isEmpty() && !pages().contains(page)) return false;
  const QUrl url = url_of(page);
  if (browser_->source() == url) {
    browser_->moveCursor(QTextCursor::Start);  // the page again from its top
  } else {
    browser_->setSource(url, QTextDocument::MarkdownResource);
  }
  return true;
}

QString HelpWindow::currentPage() const { return page_of(browser_->source()); }

QTextBrowser* HelpWindow::browser() const { return browser_; }

void HelpWindow::startSearch() {
  search_field_->setFocus(Qt::OtherFocusReason);
  search_field_->selectAll();
}

QStringList HelpWindow::pagesContaining(const QString& text) {
  QStringList found;
  if (text.isEmpty()) return found;
  for (const QString& page : pages())
    if (page_texts().value(page).contains(text, Qt::CaseInsensitive)) found << page;
  return found;
}

bool HelpWindow::search(const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) {
    searched_.clear();
    results_->clear();
    results_->hide();
    status_->clear();
    return false;
  }
  if (wanted.compare(searched_, Qt::CaseInsensitive) == 0 && results_->count() > 0) {
    if (browser_->find(wanted)) return true;
    openResult((results_->currentRow() + 1) % results_->count());
    return true;
  }
  searched_ = wanted;
  const QStringList found = pagesContaining(wanted);
  {
    const QSignalBlocker blocker(results_);
    results_->clear();
    for (const QString& page : found) {
      auto* item = new QListWidgetItem(pageTitle(page), results_);
      item->setData(Qt::UserRole, page);
    }
  }
  results_->setVisible(!found.isEmpty());
  if (found.isEmpty()) {
    status_->setText(tr("No page holds \"%1\".").arg(wanted));
    return false;
  }
  openResult(0);
  return true;
}

void HelpWindow::openResult(int row) {
  QListWidgetItem* item = results_->item(row);
  if (!item) return;
  {
    const QSignalBlocker blocker(results_);
    results_->setCurrentRow(row);
  }
  openPage(item->data(Qt::UserRole).toString());
  findFromStart(searched_);
  status_->setText(results_->count() == 1 ? tr("1 page holds \"%1\".").arg(searched_)
                                          : tr("%1 pages hold \"%2\".").arg(results_->count()).arg(searched_));
}

bool HelpWindow::findFromStart(const QString& text) {
  browser_->moveCursor(QTextCursor::Start);
  return browser_->find(text);
}

void HelpWindow::pageChanged(const QString& page) {
  setWindowTitle(page.isEmpty() ? tr("Zentrik Help") : tr("Zentrik Help - %1").arg(pageTitle(page)));
  if (searched_.isEmpty() || !pagesContaining(searched_).contains(page)) status_->clear();
}

namespace {

// The help window, made on first use, shown, restored and raised.
HelpWindow& raise_help_window(QWidget* parent) {
  QPointer<HelpWindow>& window = the_help_window();
  if (!window) {
    window = new HelpWindow;
    window->setAttribute(Qt::WA_QuitOnClose, false);  // it does not keep the program running
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      QRect frame = window->frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      window->move(frame.topLeft());
    }
  }
  window->show();
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
  return *window;
}

}  // namespace

void show_help(QWidget* parent, const std::string& page) {
  HelpWindow& window = raise_help_window(parent);
  if (!window.openPage(QString::fromStdString(page))) window.openPage({});
}

// The page being read stays where it is.
void show_help_search(QWidget* parent) { raise_help_window(parent).startSearch(); }

HelpWindow* help_window() { return the_help_window(); }

}  // namespace zentrik
