// The help viewer window on Qt.
// SPDX-License-Identifier: MIT
#include "platform/desktop/help_viewer.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/desktop/data_path.h"

namespace ruvo {
namespace {

QString MissingFileText(const QString& fileName)
{
    return QStringLiteral("<h2>Help is not available</h2>"
                          "<p>The help file <b>%1</b> could not be opened. It belongs next to the game's "
                          "program file, or in the folder <tt>share/ruvo</tt> of the game's installation.</p>")
        .arg(fileName.toHtmlEscaped());
}

} // namespace

// A plain top-level window, owned by no other, so that it stays usable while
// the game shows a dialog, and the game stays usable while it is open.
struct QtHelpViewer::State {
    std::unique_ptr<QWidget> window;
    QTextBrowser* browser = nullptr;
    QUrl file; // empty while the help file is missing

    void Create()
    {
        window = std::make_unique<QWidget>(nullptr, Qt::Window);
        window->setWindowTitle(QStringLiteral("Ruvo Help"));
        window->resize(560, 480);
        browser = new QTextBrowser(window.get());
        browser->setObjectName(QStringLiteral("helpText"));
        browser->setOpenExternalLinks(true);

        auto* contents = new QPushButton(QStringLiteral("&Contents"), window.get());
        auto* back = new QPushButton(QStringLiteral("&Back"), window.get());
        auto* forward = new QPushButton(QStringLiteral("&Forward"), window.get());
        back->setEnabled(false);
        forward->setEnabled(false);
        QObject::connect(contents, &QPushButton::clicked, browser, [this] { ShowTop(); });
        QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
        QObject::connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
        QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addStretch();
        auto* layout = new QVBoxLayout(window.get());
        layout->addLayout(buttons);
        layout->addWidget(browser);
    }

    // The contents table is at the top of the help file.
    void ShowTop()
    {
        if (!file.isEmpty() && browser->source().adjusted(QUrl::RemoveFragment) != file)
            browser->setSource(file, QTextDocument::HtmlResource);
        browser->verticalScrollBar()->setValue(0);
        browser->horizontalScrollBar()->setValue(0);
    }

    void ShowContents(std::string_view fileName)
    {
        const QString name = QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size()));
        const QString path = QString::fromStdString(FindDataFile(fileName));
        QFile readable(path);
        if (path.isEmpty() || !readable.open(QIODevice::ReadOnly)) {
            file.clear();
            browser->setHtml(MissingFileText(name));
            browser->clearHistory();
            return;
        }
        readable.close();
        file = QUrl::fromLocalFile(path);
        // Read afresh each time, and as HTML whatever the file's name says.
        if (browser->source().adjusted(QUrl::RemoveFragment) == file)
            browser->reload();
        else
            browser->setSource(file, QTextDocument::HtmlResource);
        browser->clearHistory();
        ShowTop();
    }
};

QtHelpViewer::QtHelpViewer() : state_(std::make_unique<State>()) {}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::Help(std::string_view fileName, HelpCommand command)
{
    switch (command) {
    case HelpCommand::Finder:
        if (!state_->window)
            state_->Create();
        state_->ShowContents(fileName);
        state_->window->show();
        state_->window->raise();
        state_->window->activateWindow();
        break;
    case HelpCommand::Quit:
        state_->browser = nullptr;
        state_->window.reset();
        break;
    }
}

} // namespace ruvo
