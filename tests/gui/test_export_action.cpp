// Export files byte for byte, the overwrite question, and failures that must be told and lose nothing.

#include "file_bytes.h"
#include "gui_test_registry.h"
#include "scripted_prompter.h"

#include "core/glyph/glyph_record.h"
#include "core/text/utf8.h"
#include "file_access.h"
#include "gui/common/export_action.h"
#include "library_record.h"
#include "process.h"
#include "tiny_library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace hz::gui;

namespace {

using guitest::readAll;
using guitest::writeAll;
// Code page 936 bytes of the words in the headers.
const QByteArray kYang = "\xD1\xF9";                             // 样
const QByteArray kZi = "\xD7\xD6";                               // 字
const QByteArray kRows = "\xBA\xE1\xC5\xC5";                     // 横排
const QByteArray kHalfDown = "\xCF\xC2\xB0\xEB\xC1\xD0\xC5\xC5"; // 下半列排
const QByteArray kZeroDb = "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  00h\r\n";
const QByteArray kZeroC = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,\r\n";
const QByteArray kZeroCLast = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";

hz::GlyphRecord record(char32_t character, const std::vector<std::uint8_t>& bytes, int libraryPosition) {
    return hz::test::libraryRecord(character, bytes, libraryPosition);
}

// 样: rows begin 00 00 04 40 07 E0 08 40, the rest clear. 字: first dot and last dot set.
std::vector<std::uint8_t> yangBytes() {
    std::vector<std::uint8_t> bytes(32, 0);
    const std::uint8_t start[] = {0x00, 0x00, 0x04, 0x40, 0x07, 0xE0, 0x08, 0x40};
    std::copy(std::begin(start), std::end(start), bytes.begin());
    return bytes;
}
std::vector<std::uint8_t> ziBytes() {
    std::vector<std::uint8_t> bytes(32, 0);
    bytes.front() = 0x80;
    bytes.back() = 0x01;
    return bytes;
}
hz::GlyphRecord yang() {
    return record(U'样', yangBytes(), 1);
}
hz::GlyphRecord zi() {
    return record(U'字', ziBytes(), 1);
}

QByteArray yangAssemblyBlock() {
    return ";" + kYang + "[16*16]" + kRows + "\r\n" + "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h\r\n" +
           kZeroDb + kZeroDb + kZeroDb + "\r\n";
}
QByteArray yangCBlock() {
    return "{//" + kYang + "[16*16]" + kRows + "\r\n" + "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,\r\n" + kZeroC +
           kZeroC + kZeroCLast + "};";
}

// 样字 over and over: an export of it runs to several megabytes, so the file is written in many pieces.
std::vector<hz::GlyphRecord> longList(std::size_t pairs) {
    const hz::GlyphRecord first = yang();
    const hz::GlyphRecord second = zi();
    std::vector<hz::GlyphRecord> records;
    for (std::size_t i = 0; i < pairs; ++i) {
        records.push_back(first);
        records.push_back(second);
    }
    return records;
}

// An export action whose save dialog answers with a file of that name in a fresh folder.
struct Exporter {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ExportAction action{prompter, nullptr};
    QString path;
    explicit Exporter(const QString& name) : path(dir.filePath(name)) { prompter.fileAnswers << path; }
};
} // namespace

class ExportActionTest : public QObject {
    Q_OBJECT

private slots:
    void exportAllWritesTheExampleByteForByte() {
        Exporter e(QStringLiteral("all.TXT"));
        const QString& path = e.path;
        ScriptedPrompter& prompter = e.prompter;
        ExportAction& action = e.action;
        const std::vector<hz::GlyphRecord> records{yang(), zi()};

        action.exportAll(records, hz::Arrangement::Rows);

        const QByteArray ziAssembly = ";" + kZi + "[16*16]" + kRows + "\r\n" +
                                      "DB   80h,  00h,  00h,  00h,  00h,  00h,  00h,  00h\r\n" + kZeroDb + kZeroDb +
                                      "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  01h\r\n" + "\r\n";
        const QByteArray ziC = "{//" + kZi + "[16*16]" + kRows + "\r\n" +
                               "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00,\r\n" + kZeroC + kZeroC +
                               "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};";
        QCOMPARE(readAll(path), yangAssemblyBlock() + ziAssembly + "\r\n" + yangCBlock() + "\r\n" + ziC + "\r\n");
        QVERIFY(prompter.criticals.isEmpty());
        QVERIFY(prompter.questions.isEmpty());
        QCOMPARE(prompter.lastFilters,
                 QStringList({QStringLiteral(" 导出文件(*.TXT)"), QStringLiteral("所有文件(*.*)")}));
    }

    void exportCurrentWritesOneRecordWithoutFinalLineBreak() {
        Exporter e(QStringLiteral("current.TXT"));
        const QString& path = e.path;
        ExportAction& action = e.action;
        const hz::GlyphRecord current = yang();

        action.exportCurrent(&current, hz::Arrangement::Rows);

        QCOMPARE(readAll(path), yangAssemblyBlock() + yangCBlock());
    }

    // A 24x24 record has no half-column texts, yet both headers are written.
    void halfColumnsOfA24RecordGiveHeadersAndEmptyBlocks() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        prompter.fileAnswers << dir.filePath(QStringLiteral("all")) << dir.filePath(QStringLiteral("one"));
        ExportAction action(prompter, nullptr);
        const std::vector<hz::GlyphRecord> records{record(U'字', std::vector<std::uint8_t>(72, 0xFF), 3)};

        action.exportAll(records, hz::Arrangement::HalfUp);
        action.exportCurrent(&records.front(), hz::Arrangement::HalfUp);

        const QByteArray asmHeader = ";" + kZi + "[24*24]" + kHalfDown + "\r\n";
        const QByteArray cHeader = "{//" + kZi + "[24*24]" + kHalfDown + "\r\n";
        QCOMPARE(readAll(dir.filePath(QStringLiteral("all"))), asmHeader + "\r\n" + "\r\n" + cHeader + "};\r\n");
        QCOMPARE(readAll(dir.filePath(QStringLiteral("one"))), asmHeader + "\r\n" + cHeader + "};");
    }

    void mixedSizesEachNameTheirOwnSize() {
        Exporter e(QStringLiteral("mixed.txt"));
        const QString& path = e.path;
        ExportAction& action = e.action;
        std::vector<std::uint8_t> twelve(32, 0);
        twelve[0] = 0x80;
        const std::vector<hz::GlyphRecord> records{record(U'样', twelve, 0), zi(),
                                                   record(U'佳', std::vector<std::uint8_t>(72, 0), 5)};

        action.exportAll(records, hz::Arrangement::ColsDown);

        QByteArrayList headers;
        for (const QByteArray& line : readAll(path).split('\n'))
            if (line.startsWith(';') || line.startsWith("{//"))
                headers << line.trimmed();
        const QByteArrayList sizes{"[12*12]", "[16*16]", "[24*24]", "[12*12]", "[16*16]", "[24*24]"};
        QCOMPARE(headers.size(), sizes.size());
        for (int i = 0; i < sizes.size(); ++i)
            QVERIFY2(headers[i].contains(sizes[i]), headers[i].constData());
    }

    void nothingHappensWithoutRecordsOrWhenCancelled() {
        ScriptedPrompter prompter;
        ExportAction action(prompter, nullptr);
        action.exportAll({}, hz::Arrangement::Rows);
        action.exportCurrent(nullptr, hz::Arrangement::Rows);
        QVERIFY(prompter.log.isEmpty());

        const hz::GlyphRecord current = yang();
        action.exportCurrent(&current, hz::Arrangement::Rows); // the dialog is cancelled
        QCOMPARE(prompter.log, QStringList{QStringLiteral("save")});
    }

    void chosenNameIsOfferedAgainAndUsedAsTyped() {
        Exporter e(QStringLiteral("noext"));
        const QString& path = e.path;
        ScriptedPrompter& prompter = e.prompter;
        ExportAction& action = e.action;
        const hz::GlyphRecord current = yang();

        action.exportCurrent(&current, hz::Arrangement::Rows);
        QVERIFY(prompter.lastSuggestedName.isEmpty());
        action.exportCurrent(&current, hz::Arrangement::Rows); // cancelled, but offered the last name
        QCOMPARE(prompter.lastSuggestedName, path);
        QCOMPARE(QDir(e.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("noext")});
    }

    void overwriteQuestion_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Cancel keeps the old file") << false;
        QTest::newRow("OK replaces it") << true;
    }
    void overwriteQuestion() {
        QFETCH(bool, answer);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.TXT"));
        QVERIFY(writeAll(path, "old contents"));
        ScriptedPrompter prompter;
        prompter.fileAnswers << path;
        prompter.questionAnswers << answer;
        ExportAction action(prompter, nullptr);
        const hz::GlyphRecord current = yang();

        action.exportCurrent(&current, hz::Arrangement::Rows);

        QCOMPARE(prompter.questions, QStringList{QStringLiteral("该文件已经存在是否覆盖？")});
        QCOMPARE(readAll(path), answer ? yangAssemblyBlock() + yangCBlock() : QByteArray("old contents"));
        QVERIFY(prompter.criticals.isEmpty());
    }

    // Through a link the linked file takes the export; the link stays.
    void exportThroughALinkKeepsTheLink() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target.txt"));
        const QString link = dir.filePath(QStringLiteral("link.txt"));
        QVERIFY(writeAll(target, "old"));
        QVERIFY(QFile::link(target, link));
        ScriptedPrompter prompter;
        prompter.fileAnswers << link;
        ExportAction action(prompter, nullptr);
        const hz::GlyphRecord current = yang();

        action.exportCurrent(&current, hz::Arrangement::Rows);

        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(target), yangAssemblyBlock() + yangCBlock());
    }

    // The system's error follows the file's name; 0: the window's own refusal.
    void failuresAreToldAndKeepTheOldFile_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("error");
        QTest::newRow("folder gone") << QStringLiteral("gone") << ENOENT;
        QTest::newRow("read-only folder") << QStringLiteral("read-only") << EACCES;
        QTest::newRow("disk full") << QStringLiteral("/dev/full") << ENOSPC;
        QTest::newRow("a folder chosen as the file") << QStringLiteral("folder") << 0;
    }
    void failuresAreToldAndKeepTheOldFile() {
        QFETCH(QString, where);
        QFETCH(int, error);
        QTemporaryDir dir;
        QString path;
        QString oldFile; // checked afterwards when set
        std::optional<hz::test::WithoutFileAccessOverride> withoutOverride;
        if (where == QLatin1String("gone")) {
            path = dir.filePath(QStringLiteral("no such folder/out.TXT"));
        } else if (where == QLatin1String("read-only")) {
            withoutOverride.emplace();
            QVERIFY2(withoutOverride->active(), "cannot drop the file access override");
            oldFile = path = dir.filePath(QStringLiteral("locked/out.TXT"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
            QVERIFY(writeAll(path, "old contents"));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else if (where == QLatin1String("folder")) {
            path = dir.path();
            oldFile = dir.filePath(QStringLiteral("inside.txt"));
            QVERIFY(writeAll(oldFile, "old contents"));
        } else {
            if (!QFileInfo::exists(where))
                QSKIP("no /dev/full here");
            path = where;
        }
        ScriptedPrompter prompter;
        prompter.fileAnswers << path;
        ExportAction action(prompter, nullptr);
        const hz::GlyphRecord current = yang();

        action.exportCurrent(&current, hz::Arrangement::Rows);

        const QString reason = error ? QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)))
                                     : QStringLiteral("这是一个文件夹，不是文件。");
        QCOMPARE(prompter.criticals, QStringList{QStringLiteral("无法导出到文件“%1”。\n%2").arg(path, reason)});
        if (!oldFile.isEmpty())
            QCOMPARE(readAll(oldFile), QByteArray("old contents"));
        if (where == QLatin1String("/dev/full")) {
            struct stat info {};
            QVERIFY(::stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode));
        }
        if (where == QLatin1String("read-only"))
            QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // hzdot-cli and the window write one export the same way, however long it is.
    void longExportEqualsTheCommandLines_data() {
        QTest::addColumn<QString>("arrangement");
        QTest::newRow("横排") << QStringLiteral("0");
        QTest::newRow("全部") << QStringLiteral("all");
    }
    void longExportEqualsTheCommandLines() {
        QFETCH(QString, arrangement);
        constexpr std::size_t kPairs = 6000;
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        hz::test::writeLibrary(folder + "/" + hz::test::kLibraryFiles[1], 32,
                               {{0xD1F9, yangBytes()}, {0xD7D6, ziBytes()}});
        std::string text;
        for (std::size_t i = 0; i < kPairs; ++i)
            text += "样字";
        const std::string cliFile = folder + "/cli.TXT";
        hz::test::ProcessCall call;
        call.command = {HZDOT_CLI_PATH, "-f", folder, "-a", arrangement.toStdString(), "-o", cliFile, text};
        const auto cli = hz::test::runProcess(call);
        QCOMPARE(cli.status, 0);

        Exporter exporter(QStringLiteral("window.TXT"));
        const hz::LayoutChoice choice =
            arrangement == QLatin1String("all") ? hz::LayoutChoice::all() : hz::LayoutChoice::of(hz::Arrangement::Rows);
        exporter.action.exportAll(longList(kPairs), choice);

        QVERIFY(exporter.prompter.criticals.isEmpty());
        const QByteArray window = readAll(exporter.path);
        QVERIFY(window.size() > 4 * (1 << 20));
        QVERIFY(window == readAll(QString::fromStdString(cliFile)));
    }

    // Deep in a long export: a character without a code is told before a failing disk, as when the
    // whole text was converted first, and either way the old file stays and nothing is left beside it.
    void aFailureLateInALongExportKeepsTheOldFile_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<bool>("oddCharacter");
        QTest::newRow("character without a code") << false << true;
        QTest::newRow("disk full") << true << false;
        QTest::newRow("both: the character is told") << true << true;
    }
    void aFailureLateInALongExportKeepsTheOldFile() {
        QFETCH(bool, diskFull);
        QFETCH(bool, oddCharacter);
        if (diskFull && !QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        QTemporaryDir dir;
        const QString path = diskFull ? QStringLiteral("/dev/full") : dir.filePath(QStringLiteral("old.TXT"));
        if (!diskFull)
            QVERIFY(writeAll(path, "old contents"));
        std::vector<hz::GlyphRecord> records = longList(6000);
        if (oddCharacter)
            records.back().character = hz::encodeUtf8(U'\U0001F600');
        ScriptedPrompter prompter;
        prompter.fileAnswers << path;
        ExportAction action(prompter, nullptr);

        action.exportAll(records, hz::Arrangement::Rows);

        const QString reason = oddCharacter
                                   ? QStringLiteral("字符“%1”在GB2312（代码页936）中没有编码，无法写入。")
                                         .arg(QString::fromUcs4(U"\U0001F600", 1))
                                   : QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QCOMPARE(prompter.criticals, QStringList{QStringLiteral("无法导出到文件“%1”。\n%2").arg(path, reason)});
        if (!diskFull) {
            QCOMPARE(readAll(path), QByteArray("old contents"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.TXT")});
        }
    }

    // A character that code page 936 cannot hold is named, and the old file stays.
    void characterWithoutCodeIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.TXT"));
        QVERIFY(writeAll(path, "old contents"));
        ScriptedPrompter prompter;
        prompter.fileAnswers << path;
        ExportAction action(prompter, nullptr);
        // A font may draw a character code page 936 lacks; its record is like any other.
        hz::GlyphRecord odd = yang();
        odd.character = hz::encodeUtf8(U'\U0001F600');

        action.exportCurrent(&odd, hz::Arrangement::Rows);

        QCOMPARE(prompter.criticals.size(), 1);
        QVERIFY(prompter.criticals.front().contains(path));
        QVERIFY(prompter.criticals.front().contains(QString::fromUcs4(U"\U0001F600", 1)));
        QCOMPARE(readAll(path), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.TXT")});
    }
};

static GuiTestRegistration<ExportActionTest> registration;
#include "test_export_action.moc"
