// The help pages and their viewer: every context number the program asks for has a page, every
// page is reachable from Contents, every local link lands, and the viewer copes with what is not
// there.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "help/helpviewer.h"
#include "helptopics.h"

namespace fs = std::filesystem;
using namespace brenvik::ui;

namespace {

const fs::path kHelpDir = fs::path(BRENVIK_SOURCE_DIR) / "data" / "help";

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> AllMatches(const std::string& text, const std::regex& re) {
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1].str());
    return out;
}

struct Page {
    std::string text;
    std::vector<std::string> links;  // href and src values
    std::set<std::string> anchors;   // id and name values
};

std::map<std::string, Page> LoadPages() {
    static const std::regex link(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    static const std::regex anchor(R"re((?:id|name)\s*=\s*"([^"]*)")re", std::regex::icase);
    std::map<std::string, Page> pages;
    for (const auto& entry : fs::directory_iterator(kHelpDir)) {
        if (entry.path().extension() != ".html") continue;
        Page page;
        page.text = ReadFile(entry.path());
        page.links = AllMatches(page.text, link);
        for (auto& a : AllMatches(page.text, anchor)) page.anchors.insert(a);
        pages[entry.path().filename().string()] = std::move(page);
    }
    return pages;
}

}  // namespace

TEST(HelpPages, EveryContextNumberHasATitledPageLinkingToContents) {
    namespace h = brenvik::help;
    const auto pages = LoadPages();
    for (int context : {h::Contents, h::Capacity, h::About, h::WriteGPSKML, h::WriteCSV, h::Options,
                        h::OptionsGeneral, h::OptionsFormats, h::OptionsFields, h::OptionsEvents}) {
        const std::string name = std::to_string(context) + ".html";
        SCOPED_TRACE(name);
        ASSERT_TRUE(pages.count(name));
    }
    static const std::regex title(R"(<title>\s*[^<\s][^<]*</title>)");
    for (const auto& [name, page] : pages) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(std::regex_search(page.text, title));
        if (name != "10.html") {
            EXPECT_NE(std::find(page.links.begin(), page.links.end(), "10.html"), page.links.end());
        }
    }
}

TEST(HelpPages, EveryLocalLinkLandsAndEveryPageIsReachableFromContents) {
    const auto pages = LoadPages();
    std::set<std::string> reached{"10.html"};
    std::vector<std::string> todo{"10.html"};
    while (!todo.empty()) {
        const std::string name = todo.back();
        todo.pop_back();
        for (const std::string& link : pages.at(name).links) {
            SCOPED_TRACE(name + " -> " + link);
            ASSERT_EQ(link.find("://"), std::string::npos) << "pages stay local";
            const auto hash = link.find('#');
            const std::string file = hash == std::string::npos ? link : link.substr(0, hash);
            const std::string target = file.empty() ? name : file;
            ASSERT_TRUE(fs::is_regular_file(kHelpDir / target));
            if (hash != std::string::npos) {
                EXPECT_TRUE(pages.at(target).anchors.count(link.substr(hash + 1)));
            }
            if (pages.count(target) && reached.insert(target).second) todo.push_back(target);
        }
    }
    for (const auto& [name, page] : pages) EXPECT_TRUE(reached.count(name)) << name << " is not linked";
}

TEST(HelpViewer, FindsThePagesBesideTheProgramOrWhereTheyAreInstalled) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("share/brenvik/help")));
    const QString bin = dir.filePath(QStringLiteral("bin"));
    EXPECT_EQ(FindHelpFolder(bin), QDir::cleanPath(dir.filePath(QStringLiteral("share/brenvik/help"))));

    ASSERT_TRUE(dir.mkpath(QStringLiteral("bin/help")));
    InitHelp(bin);
    EXPECT_EQ(HelpFolder(), QDir::cleanPath(dir.filePath(QStringLiteral("bin/help"))));
}

TEST(HelpViewer, ShowsTopicsWithTitlesHistoryAndItsOwnNotFoundPage) {
    const QString folder = QString::fromStdString(kHelpDir.string());
    SetHelpFolder(folder);
    ShowHelpTopic(brenvik::help::Contents);
    HelpWindow* window = CurrentHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Contents"));

    ShowHelpTopic(brenvik::help::OptionsGeneral);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Options: General"));
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("Verify NMEA checksum (if present)")));
    window->browser()->backward();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Contents"));

    ShowHelpTopic(424242);
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("424242.html")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Help page not found"));
    EXPECT_EQ(HelpFolder(), folder);

    // Back leaves the not-found page for the page before it; Forward returns to it.
    window->browser()->backward();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Contents"));
    window->browser()->forward();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Help page not found"));

    // A relative link from the not-found page still reaches Contents.
    window->browser()->setSource(QUrl(QStringLiteral("10.html")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Contents"));

    SetHelpFolder(QString());
    ShowHelpTopic(brenvik::help::Contents);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brenvik Help - Help page not found"));
    window->close();
}

TEST(HelpViewer, WorksOverAModalBoxAndOutlivesIt) {
    SetHelpFolder(QString::fromStdString(kHelpDir.string()));
    {
        auto* box = new QDialog;
        QTimer::singleShot(0, box, [box] {
            ShowHelpTopic(brenvik::help::About);
            // Over a modal box the help window must be modal too, or the box would block it.
            EXPECT_EQ(CurrentHelpWindow()->windowModality(), Qt::ApplicationModal);
            box->accept();
        });
        box->exec();
        delete box;  // an About box is released when it closes
    }
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_TRUE(CurrentHelpWindow()->isVisible());
    EXPECT_EQ(CurrentHelpWindow()->windowTitle(), QStringLiteral("Brenvik Help - About Brenvik"));
    CurrentHelpWindow()->close();

    ShowHelpTopic(brenvik::help::Contents);
    EXPECT_EQ(CurrentHelpWindow()->windowModality(), Qt::NonModal);
    EXPECT_TRUE(CurrentHelpWindow()->isVisible());
    CurrentHelpWindow()->close();
}
