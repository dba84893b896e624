// What `make install` builds: the target installed-files holds every target an install rule
// installs, and no test, benchmark or fuzz target. Read from CMake's own description of the build
// (its file API), from a fresh configuration of the source tree.
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace {

struct Target {
    QString name;
    QString sourceFolder; // relative to the source tree
    bool installed = false;
    std::vector<QString> dependencies; // target ids
};

QJsonObject readJson(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Every target of the build, by id, as CMake's code model describes it.
std::map<QString, Target> describeTargets(const std::string& buildFolder) {
    const QDir reply(QString::fromStdString(buildFolder + "/.cmake/api/v1/reply"));
    const QStringList indexes = reply.entryList({QStringLiteral("index-*.json")}, QDir::Files, QDir::Name);
    std::map<QString, Target> targets;
    if (indexes.isEmpty()) {
        ADD_FAILURE() << "CMake wrote no file API reply";
        return targets;
    }
    const QJsonObject index = readJson(reply.filePath(indexes.last()));
    const QString codemodelFile =
        index[QStringLiteral("reply")][QStringLiteral("codemodel-v2")][QStringLiteral("jsonFile")].toString();
    const QJsonObject codemodel = readJson(reply.filePath(codemodelFile));
    const QJsonObject configuration = codemodel[QStringLiteral("configurations")].toArray().first().toObject();
    for (const QJsonValue entry : configuration[QStringLiteral("targets")].toArray()) {
        const QJsonObject target = readJson(reply.filePath(entry[QStringLiteral("jsonFile")].toString()));
        Target described;
        described.name = target[QStringLiteral("name")].toString();
        described.sourceFolder = target[QStringLiteral("paths")][QStringLiteral("source")].toString();
        described.installed = target.contains(QStringLiteral("install"));
        for (const QJsonValue dependency : target[QStringLiteral("dependencies")].toArray())
            described.dependencies.push_back(dependency[QStringLiteral("id")].toString());
        targets[target[QStringLiteral("id")].toString()] = described;
    }
    return targets;
}

TEST(InstalledFiles, TheInstallBuildsWhatItInstallsAndNoTests) {
    hz::test::TempFolder build;
    std::filesystem::create_directories(build.file(".cmake/api/v1/query"));
    hz::test::writeFile(build.file(".cmake/api/v1/query/codemodel-v2"), std::string_view());
    hz::test::ProcessCall configure;
    configure.command = {CMAKE_COMMAND, "-S", HZDOT_SOURCE_DIR, "-B", build.path()};
    const hz::test::ProcessResult configured = hz::test::runProcess(configure);
    ASSERT_EQ(configured.status, 0) << configured.err;

    const std::map<QString, Target> targets = describeTargets(build.path());
    const auto root = std::find_if(targets.begin(), targets.end(),
                                   [](const auto& entry) { return entry.second.name == "installed-files"; });
    ASSERT_NE(root, targets.end());
    std::set<QString> built; // names of the targets building installed-files builds
    std::vector<QString> waiting{root->first};
    while (!waiting.empty()) {
        const Target& target = targets.at(waiting.back());
        waiting.pop_back();
        if (!built.insert(target.name).second)
            continue;
        waiting.insert(waiting.end(), target.dependencies.begin(), target.dependencies.end());
    }

    for (const auto& [id, target] : targets) {
        const bool test = target.sourceFolder.startsWith(QStringLiteral("tests")) ||
                          target.sourceFolder.startsWith(QStringLiteral("bench")) ||
                          target.sourceFolder.startsWith(QStringLiteral("fuzz"));
        if (target.installed) {
            EXPECT_TRUE(built.count(target.name)) << target.name.toStdString() << " is installed but not built";
        }
        if (test) {
            EXPECT_FALSE(built.count(target.name)) << target.name.toStdString() << " is built for the install";
        }
    }
    // The libraries and the compressed pages are installed as files, made by these.
    for (const char* made : {"font-libraries", "packaging-files", "hzdot", "hzdot-cli", "hzdot-mkfont"})
        EXPECT_TRUE(built.count(QString::fromLatin1(made))) << made;
}

} // namespace
