// The headless command line: `tiselk --info` and `tiselk --json`, run as a user runs them.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <map>

#include <sys/stat.h>

#include "core/decoding/picture_decoding.h"
#include "core/histogram/histogram_counts.h"
#include "exif_test_helpers.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::TiffDirectory;

struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun RunTiselk(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(CORVELLE_PROGRAM_PATH), arguments);
    ProgramRun run;
    if (!process.waitForFinished(600000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

std::string WriteSample(const testing::TempFolder& folder) {
    TiffDirectory exif;
    exif.rationals(0x829A, {{1, 125}})
        .rationals(0x829D, {{56, 10}})
        .shorts(0x8827, {100})
        .ascii(0x9003, "2004:03:15 14:25:30")
        .longs(0xA002, {8})
        .longs(0xA003, {8});
    TiffDirectory ifd1;
    ifd1.shorts(0x0103, {6}).longs(0x0201, {8}).longs(0x0202, {4});
    TiffDirectory gps;
    gps.ascii(0x0001, "S")
        .rationals(0x0002, {{33, 1}, {51, 1}, {3240, 100}})
        .ascii(0x0003, "E")
        .rationals(0x0004, {{151, 1}, {12, 1}, {3600, 100}});
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "Maker")
        .ascii(0x0110, "Caf\xE9 Cam")
        .subDirectory(0x8769, exif)
        .subDirectory(0x8825, gps)
        .next(ifd1);
    const std::string path = folder.file("sample.jpg");
    testing::WriteFileBytes(
        path, testing::InsertAfterSoi(
                  testing::EncodeTestJpeg(8, 8),
                  {testing::ExifSegment(testing::BuildTiff(ifd0, testing::kLittle))}));
    return path;
}

TEST(CommandLineTest, JsonGivesOneObjectPerArgument) {
    testing::TempFolder folder;
    const std::string sample = WriteSample(folder);
    const ProgramRun run = RunTiselk({"--json", QString::fromStdString(sample),
                                      QString::fromStdString(folder.file("missing.jpg"))});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonArray files = document.array();
    ASSERT_EQ(files.size(), 2);

    const QJsonObject first = files[0].toObject();
    EXPECT_EQ(first["path"].toString().toStdString(), sample);
    EXPECT_EQ(first["model"].toString(), QString::fromUtf8("Caf\xC3\xA9 Cam"));
    EXPECT_EQ(first["dateTime"].toString(), "2004:03:15 14:25:30");
    EXPECT_EQ(first["shutter"].toString(), "1/125 sec");
    EXPECT_EQ(first["aperture"].toString(), "F5.6");
    EXPECT_EQ(first["iso"].toString(), "100");
    EXPECT_EQ(first["lightValue"].toString(), "11");
    EXPECT_EQ(first["width"].toInt(), 8);
    EXPECT_DOUBLE_EQ(first["exposureSeconds"].toDouble(), 0.008);
    EXPECT_DOUBLE_EQ(first["fNumber"].toDouble(), 5.6);
    EXPECT_GT(first["fileSize"].toInt(), 0);
    EXPECT_TRUE(first["fileSizeText"].toString().endsWith(" bytes"));
    EXPECT_TRUE(
        first["summaryText"].toString().startsWith(QString::fromUtf8("모델명 :        Caf")));
    const QJsonArray report = first["report"].toArray();
    ASSERT_EQ(report.size(), 8);
    EXPECT_EQ(report[0].toString(), "Maker = \"Maker\"\r\n");
    EXPECT_EQ(report[3].toString(), "Compression = JPEG\r\n");
    EXPECT_EQ(report[5].toString(), QString::fromUtf8("GPSLatitude = 33° 51' 32.40\" S\r\n"));
    const QJsonObject gps = first["gps"].toObject();
    EXPECT_EQ(gps["latitude"].toDouble(), -33.859);
    EXPECT_EQ(gps["longitude"].toDouble(), 151.21);
    EXPECT_TRUE(gps["altitude"].isNull());
    EXPECT_TRUE(run.out.contains("\"gps\": {\"latitude\": -33.859000, \"longitude\": 151.210000"));
    EXPECT_EQ(first["thumbnail"].toObject()["offset"].toInt(), 8);
    EXPECT_EQ(first["thumbnail"].toObject()["length"].toInt(), 4);

    const QJsonObject second = files[1].toObject();
    EXPECT_EQ(second["fileSize"].toInt(), 0);
    EXPECT_EQ(second["fileSizeText"].toString(), "0 bytes");
    EXPECT_TRUE(second["report"].toArray().isEmpty());
    EXPECT_TRUE(second["thumbnail"].isNull());
    EXPECT_EQ(second["lightValue"].toString(), "");
    EXPECT_TRUE(second["gps"].isNull());
    EXPECT_EQ(second.keys().size(), 22);
}

TEST(CommandLineTest, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    testing::TempFolder folder;
    const std::string pipe = folder.file("pipe.jpg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const ProgramRun run = RunTiselk({"--json", QString::fromStdString(pipe)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].toObject()["report"].toArray().isEmpty());
}

TEST(CommandLineTest, InfoShowsPanelSummaryAndReport) {
    testing::TempFolder folder;
    const std::string sample = WriteSample(folder);
    const std::string plain = folder.file("plain.jpg");
    testing::WriteFileBytes(plain, testing::EncodeTestJpeg(8, 8));
    const ProgramRun run =
        RunTiselk({"--info", QString::fromStdString(sample), QString::fromStdString(plain)});
    ASSERT_EQ(run.status, 0);
    const std::string out = run.out.toStdString();
    EXPECT_EQ(out.rfind("Model: Caf\xC3\xA9 Cam\nISO: 100\nTime: 2004:03:15 14:25:30\n", 0), 0u)
        << out;
    EXPECT_NE(out.find("Image w/h: 8 x 8\n"), std::string::npos);
    EXPECT_NE(out.find("Light Value : 11\nLocation: -33.859000, 151.210000\n\n"),
              std::string::npos);
    EXPECT_NE(out.find("\nLV :        11\n\nMaker = \"Maker\"\n"), std::string::npos);
    EXPECT_NE(out.find("\n-----"), std::string::npos);
    EXPECT_TRUE(out.ends_with("\n\nNo Exif Informations\n")) << out;
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

// Every sample picture with real camera data gives its object, and nothing crashes.
TEST(CommandLineTest, SampleCorpus) {
    const std::filesystem::path corpus =
        std::filesystem::path(CORVELLE_SOURCE_DIR) / ".." / "shared" / "corpus" / "exif-samples";
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no sample corpus at " << corpus;
    QStringList arguments{"--json"};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file()) arguments << QString::fromStdString(entry.path().string());
    }
    ASSERT_GT(arguments.size(), 1);
    const ProgramRun run = RunTiselk(arguments);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonArray files = QJsonDocument::fromJson(run.out, &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    ASSERT_EQ(files.size(), arguments.size() - 1);
    int withReport = 0;
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject file = files[i].toObject();
        EXPECT_EQ(file["path"].toString(), arguments[i + 1]);
        EXPECT_GT(file["fileSize"].toInteger(), 0) << arguments[i + 1].toStdString();
        if (!file["report"].toArray().isEmpty()) ++withReport;
    }
    EXPECT_GT(withReport, files.size() / 2);
}

// Every sample picture with a position gives the one exiftool reads, to six decimals, and
// no other picture gives one.
TEST(CommandLineTest, SampleCorpusPositionsAgreeWithExiftool) {
    const std::filesystem::path corpus =
        std::filesystem::path(CORVELLE_SOURCE_DIR) / ".." / "shared" / "corpus" / "exif-samples";
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no sample corpus at " << corpus;
    QStringList files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file() && entry.path().extension() != "")
            files << QString::fromStdString(entry.path().string());
    }
    QProcess exiftool;
    exiftool.start("exiftool", QStringList{"-j", "-n", "-GPSLatitude", "-GPSLongitude"} + files);
    if (!exiftool.waitForFinished(600000) || exiftool.exitStatus() != QProcess::NormalExit)
        GTEST_SKIP() << "exiftool is missing";
    std::map<QString, std::pair<QString, QString>> expected;
    for (const auto& value : QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array()) {
        const QJsonObject file = value.toObject();
        if (!file.contains("GPSLatitude") || !file.contains("GPSLongitude")) continue;
        expected[file["SourceFile"].toString()] = {
            QString::number(file["GPSLatitude"].toDouble(), 'f', 6),
            QString::number(file["GPSLongitude"].toDouble(), 'f', 6)};
    }
    ASSERT_FALSE(expected.empty());
    const ProgramRun run = RunTiselk(QStringList{"--json"} + files);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    int positions = 0;
    for (const auto& value : QJsonDocument::fromJson(run.out).array()) {
        const QJsonObject file = value.toObject();
        const QString path = file["path"].toString();
        const auto wanted = expected.find(path);
        if (wanted == expected.end()) {
            EXPECT_TRUE(file["gps"].isNull()) << path.toStdString();
            continue;
        }
        const QJsonObject gps = file["gps"].toObject();
        EXPECT_EQ(QString::number(gps["latitude"].toDouble(), 'f', 6), wanted->second.first)
            << path.toStdString();
        EXPECT_EQ(QString::number(gps["longitude"].toDouble(), 'f', 6), wanted->second.second)
            << path.toStdString();
        ++positions;
    }
    EXPECT_EQ(positions, int(expected.size()));
}

}  // namespace
}  // namespace corvelle

namespace corvelle {
namespace {

TEST(CommandLineTest, DecodeWritesTheWindowsPictureAsBmp) {
    testing::TempFolder folder;
    const std::string input = folder.file("in.jpg");
    testing::WriteFileBytes(input, testing::EncodeTestJpeg(24, 10));
    const std::string output = folder.file("out.bmp");
    ProgramRun run = RunTiselk(
        {"--decode", QString::fromStdString(input), "-o", QString::fromStdString(output)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(testing::ReadFileBytes(output), BmpFileBytes(*DecodePicture(input)));

    testing::WriteFileBytes(folder.file("bad.jpg"), {1, 2, 3});
    run = RunTiselk({"--decode", QString::fromStdString(folder.file("bad.jpg")), "-o",
                     QString::fromStdString(folder.file("bad.bmp"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("bad.bmp")));
    EXPECT_TRUE(run.err.contains("cannot be decoded"));
    EXPECT_EQ(RunTiselk({"--decode", QString::fromStdString(input)}).status, 2);

    // A picture past the process's byte budget is refused from its header, with the reason.
    testing::WriteFileBytes(folder.file("huge.jpg"), {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF,
                                                      0xFF, 0xFF, 3, 1, 0x11, 0});
    run = RunTiselk({"--decode", QString::fromStdString(folder.file("huge.jpg")), "-o",
                     QString::fromStdString(folder.file("huge.bmp"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("huge.jpg: too large (65535 x 65535, 12288 MB)\n"))
        << run.err.toStdString();
}

TEST(CommandLineTest, HistogramGivesTheFourTablesAndMeans) {
    testing::TempFolder folder;
    const std::string input = folder.file("red.jpg");
    testing::TestJpegOptions red;
    red.pixel = [](int, int) { return 0xFF0000u; };
    testing::WriteFileBytes(input, testing::EncodeTestJpeg(16, 8, red));
    const ProgramRun run = RunTiselk({"--histogram", QString::fromStdString(input)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(files.size(), 1);
    const QJsonObject file = files[0].toObject();
    const auto picture = DecodePicture(input);
    ASSERT_TRUE(picture);
    const HistogramCounts counts = CountHistogram(&*picture);
    const char* names[] = {"mono", "red", "green", "blue"};
    for (int c = 0; c < 4; ++c) {
        const QJsonArray table = file[names[c]].toArray();
        ASSERT_EQ(table.size(), 256);
        for (int i = 0; i < 256; ++i) EXPECT_EQ(table[i].toInt(), counts.tables[c][i]);
        EXPECT_EQ(file[QString(names[c]) + "Mean"].toInt(), HistogramMean(counts.tables[c]));
    }
    EXPECT_GT(file["redMean"].toInt(), 240);
}

// The parser's own cases are unit tests; here only what the program does with its answer.
TEST(CommandLineTest, UsageErrorsHelpAndMissingFiles) {
    const ProgramRun unknown = RunTiselk({"--bogus"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.startsWith("tiselk: unknown option --bogus\n"));
    const ProgramRun help = RunTiselk({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("tiselk --decode FILE -o OUT.bmp"));
    EXPECT_EQ(RunTiselk({"--info", "/no/such/file.jpg"}).status, 0);
}

}  // namespace
}  // namespace corvelle
