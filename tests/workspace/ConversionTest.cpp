#include "workspace/Conversion.h"
#include "ErrorText.h"
#include "JpegTestSupport.h"

#include "TempDir.h"
#include "TestPictures.h"
#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"
#include "imaging/JpegSegments.h"
#include "platform/Error.h"
#include "platform/SystemFileSystem.h"
#include "workspace/ConversionPass.h"
#include "workspace/PhotoFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>

#include <jerror.h>
#include <jpeglib.h>

namespace tess::workspace {
namespace {

using imaging::Bytes;
using imaging::DecodeProfile;
using imaging::RgbImage;
using imaging::Size;

using tess::test::errorOf;

TEST(ParseInteger, AcceptsDecimalAndHexadecimalInThirtyTwoBits) {
    struct Row {
        const char* text;
        std::int32_t value;
    };
    const Row rows[] = {
        {"800", 800},
        {" 800", 800},
        {"   +5", 5},
        {"+5", 5},
        {"-1", -1},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X1F", 31},
        {"-$10", -16},
        {"+0x10", 16},
        {"0", 0},
        {"007", 7},
        {"$7fffffff", 2147483647},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-$80000000", -2147483647 - 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseInteger(row.text), row.value) << '"' << row.text << '"';
    }
}

TEST(ParseInteger, RejectsAnythingElseQuotingTheText) {
    const char* rows[] = {"2147483648",
                          "-2147483649",
                          "$80000000",
                          "$FFFFFFFF",
                          "800 ",
                          "",
                          " ",
                          "abc",
                          "8 00",
                          "$",
                          "0x",
                          "-",
                          "+",
                          "+-5",
                          "$-5",
                          "1F",
                          "$1G",
                          "\t800",
                          "99999999999999999999",
                          "0x 1"};
    for (const char* text : rows) {
        std::string expected = "'";
        expected += text;
        expected += "' is not a valid integer value";
        EXPECT_EQ(errorOf([&] { parseInteger(text); }), expected) << '"' << text << '"';
    }
}

TEST(ProgressPosition, RoundsHalvesToEven) {
    struct Row {
        int row, count, expected;
    };
    const Row rows[] = {{1, 4, 25}, {2, 4, 50}, {4, 4, 100}, {3, 8, 38}, {5, 8, 62},
                        {7, 8, 88}, {1, 3, 33}, {2, 3, 67},  {0, 5, 0},  {3, 0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(progressPosition(row.row, row.count), row.expected)
            << row.row << "/" << row.count;
    }
}

TEST(ConversionPaths, SourceDropsOneBackslashDestinationKeepsTheFolderText) {
    EXPECT_EQ(conversionSourcePath("D:\\Foto\\", "IMG1.JPG"), "D:\\Foto\\IMG1.JPG");
    EXPECT_EQ(conversionSourcePath("D:\\Foto", "IMG1.JPG"), "D:\\Foto\\IMG1.JPG");
    EXPECT_EQ(conversionSourcePath("D:\\Foto\\\\", "IMG1.JPG"), "D:\\Foto\\\\IMG1.JPG");
    EXPECT_EQ(conversionSourcePath("C:\\", "a.jpg"), "C:\\a.jpg");
    EXPECT_EQ(conversionDestinationPath("D:\\Ridotte\\", "IMG1.JPG"), "D:\\Ridotte\\\\IMG1.JPG");
    EXPECT_EQ(conversionDestinationPath("D:\\Ridotte", "IMG1.JPG"), "D:\\Ridotte\\IMG1.JPG");
}

TEST(ConversionPaths, NoPathLeavesTheFolderOfItsList) {
    // Every path built from a folder and a row name refuses a name that is not one entry.
    for (const std::string name : {"..\\orig\\IMG1.JPG", "..\\..\\x.JPG", "a/b.jpg", "...", ""}) {
        for (const auto& join : {conversionSourcePath, conversionDestinationPath, photoPath}) {
            try {
                join("C:\\Foto\\", name);
                ADD_FAILURE() << "path built for " << name;
            } catch (const tess::Error& error) {
                EXPECT_EQ(std::string(error.what()), "Nome foto non valido: " + name);
            }
        }
    }
}

// A smooth colour picture, so that a JPEG round trip keeps every pixel close.
RgbImage smoothPicture(int width, int height) {
    return test::paintPicture(width, height, [&](int x, int y) {
        return std::array<int, 3>{30 + 190 * x / width, 40 + 170 * y / height,
                                  200 - 150 * (x + y) / (width + height)};
    });
}

imaging::GreyImage greyPicture(int width, int height) {
    imaging::GreyImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.levels[std::size_t(y) * width + x] =
                std::uint8_t(20 + 200 * (x + y) / (width + height));
        }
    }
    return image;
}

// Some texture, so that recompressing a photo changes its bytes.
RgbImage texturedPicture(int width, int height) {
    RgbImage image = smoothPicture(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = std::uint8_t(image.pixels[i] ^ ((i * 2654435761u >> 13) & 0x1F));
    }
    return image;
}

std::string asText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}
Bytes asBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// True when the file has an APP1 segment before its image data.
bool hasApp1(const Bytes& jpeg) {
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF && jpeg[pos + 1] != 0xDA) {
        if (jpeg[pos + 1] == 0xE1) {
            return true;
        }
        pos += 2 + (std::size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3]);
    }
    return false;
}

class ConversionTest : public ::testing::Test {
protected:
    ConversionTest() {
        m_dir.mkdir("orig");
        m_dir.mkdir("small");
        m_dir.mkdir("thumbs");
    }

    void putOriginal(const std::string& name, const Bytes& data) const {
        m_dir.write("orig/" + name, asText(data));
    }
    Bytes fileBytes(const std::string& name) const { return asBytes(m_dir.read(name)); }
    std::string folder(const std::string& name) const { return m_dir.win(name); }

    void convert(const std::string& name, const std::string& destination, int widthLimit = 800,
                 int heightLimit = 600, int quality = 80) {
        ConvertiFoto(m_fs, widthLimit, heightLimit, quality, name, folder("orig"),
                     folder(destination));
    }

    // One marked row through the pass the conversion command runs: both outputs of a photo.
    void convertBoth(const std::string& name, const std::string& sourceFolder,
                     const OutputSettings& reduced, const OutputSettings& thumbnail) {
        ParallelConversion pass(m_fs, sourceFolder, reduced, thumbnail, {{name, true}}, 1);
        const ParallelConversion::Outcome outcome = pass.run([](int) {});
        if (outcome.error)
            std::rethrow_exception(outcome.error);
    }

    test::TempDir m_dir;
    platform::SystemFileSystem m_fs;
};

TEST_F(ConversionTest, OutputIsAPointSampleOfTheOriginal) {
    struct Row {
        const char* name;
        Bytes data;
        bool progressive;
        Size expected;
    };
    const Row rows[] = {
        {"A.JPG", imaging::encodeJpeg(smoothPicture(1200, 900), 90, false), false, {800, 600}},
        {"B.JPG", imaging::encodeJpeg(smoothPicture(900, 1350), 90, true), true, {533, 800}},
        {"C.JPG", imaging::encodeGreyJpeg(greyPicture(1000, 500), 90, false), false, {800, 400}},
        {"D.JPG", imaging::encodeJpeg(smoothPicture(300, 200), 90, false), false, {800, 533}},
    };
    for (const Row& row : rows) {
        putOriginal(row.name, row.data);
        convert(row.name, "small");
        const Bytes output = fileBytes("small/" + std::string(row.name));
        const imaging::JpegInfo info = imaging::readJpegHeader(output);
        EXPECT_EQ((Size{info.width, info.height}), row.expected) << row.name;
        EXPECT_EQ(info.progressive, row.progressive) << row.name;
        EXPECT_EQ(info.components, 3) << row.name;

        const imaging::JpegInfo source = imaging::readJpegHeader(row.data);
        const RgbImage original = imaging::decodeStretched(row.data, DecodeProfile::QualityFirst,
                                                           {{source.width, source.height}})[0];
        const RgbImage result = imaging::decodeStretched(output, DecodeProfile::QualityFirst,
                                                         {{info.width, info.height}})[0];
        int farOff = 0;
        for (int y = 0; y < result.height; ++y) {
            const std::int64_t sy = (2LL * y + 1) * source.height / (2LL * result.height);
            for (int x = 0; x < result.width; ++x) {
                const std::int64_t sx = (2LL * x + 1) * source.width / (2LL * result.width);
                for (int c = 0; c < 3; ++c) {
                    const int got = result.pixels[3 * (std::size_t(y) * result.width + x) + c];
                    const int want = original.pixels[3 * (sy * source.width + sx) + c];
                    farOff += std::abs(got - want) > 16;
                }
            }
        }
        EXPECT_EQ(farOff, 0) << row.name;
    }
}

TEST_F(ConversionTest, FailuresNameTheStepAndLeaveOutputsAlone) {
    putOriginal("TEXT.JPG", asBytes("not a photo at all"));
    putOriginal("EMPTY.JPG", {});
    putOriginal("GOOD.JPG", imaging::encodeJpeg(smoothPicture(160, 120), 80, false));
    m_dir.write("small/GOOD.JPG", "old copy");
    chmod(m_dir.host("small/GOOD.JPG").c_str(), 0444);

    struct Row {
        const char* name;
        const char* destination;
        std::string message;
        const char* untouched; // an output that must keep its content, if any
    };
    const Row rows[] = {
        {"MISSING.JPG", "small", "Cannot open file " + folder("orig") + "\\MISSING.JPG", nullptr},
        {"TEXT.JPG", "small", "JPEG error #" + std::to_string(JERR_NO_SOI), nullptr},
        {"EMPTY.JPG", "small", "Invalid floating point operation", nullptr},
        {"GOOD.JPG", "nowhere", "Cannot create file " + folder("nowhere") + "\\GOOD.JPG", nullptr},
        {"GOOD.JPG", "small", "Cannot create file " + folder("small") + "\\GOOD.JPG",
         "small/GOOD.JPG"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(errorOf([&] { convert(row.name, row.destination); }), row.message)
            << row.name << " to " << row.destination;
    }
    EXPECT_EQ(m_dir.read("small/GOOD.JPG"), "old copy");
    EXPECT_FALSE(m_dir.exists("nowhere"));
    // Nothing else was left in the output folder: no copy of a failed photo, no temporary.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.host("small"))) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"GOOD.JPG"});
}

TEST_F(ConversionTest, OneDecodeWritesTheBytesOfTwoConversions) {
    m_dir.mkdir("small2");
    m_dir.mkdir("thumbs2");
    const std::pair<const char*, Bytes> sources[] = {
        {"BASE.JPG", imaging::encodeJpeg(texturedPicture(1024, 768), 90, false)},
        {"PROG.JPG", imaging::encodeJpeg(texturedPicture(768, 1024), 90, true)},
        {"GREY.JPG", imaging::encodeGreyJpeg(greyPicture(1000, 700), 90, false)},
    };
    const OutputSettings reduced{800, 600, 80, folder("small")};
    const OutputSettings thumbnail{640, 480, 50, folder("thumbs")};
    for (const auto& [name, data] : sources) {
        putOriginal(name, data);
        convertBoth(name, folder("orig"), reduced, thumbnail);
        convert(name, "small2", 800, 600, 80);
        convert(name, "thumbs2", 640, 480, 50);
        EXPECT_EQ(fileBytes("small/" + std::string(name)), fileBytes("small2/" + std::string(name)))
            << name;
        EXPECT_EQ(fileBytes("thumbs/" + std::string(name)),
                  fileBytes("thumbs2/" + std::string(name)))
            << name;
        EXPECT_NE(fileBytes("small/" + std::string(name)),
                  fileBytes("thumbs/" + std::string(name)));
    }
}

TEST_F(ConversionTest, ReducedCopyOverTheOriginalFeedsTheThumbnail) {
    const Bytes original = imaging::encodeJpeg(texturedPicture(1600, 1200), 92, false);
    putOriginal("IMG.JPG", original);
    convertBoth("IMG.JPG", folder("orig") + "\\", {800, 600, 80, folder("orig")},
                {640, 480, 50, folder("thumbs")});

    // The same two steps by hand, in another folder.
    m_dir.mkdir("again");
    m_dir.write("again/IMG.JPG", asText(original));
    ConvertiFoto(m_fs, 800, 600, 80, "IMG.JPG", folder("again"), folder("again"));
    ConvertiFoto(m_fs, 640, 480, 50, "IMG.JPG", folder("again"), folder("small"));
    EXPECT_EQ(fileBytes("orig/IMG.JPG"), fileBytes("again/IMG.JPG"));
    EXPECT_EQ(fileBytes("thumbs/IMG.JPG"), fileBytes("small/IMG.JPG"));
    EXPECT_EQ(imaging::readJpegHeader(fileBytes("orig/IMG.JPG")).width, 800);

    // Made from the untouched original the thumbnail would differ.
    m_dir.write("again/IMG.JPG", asText(original));
    ConvertiFoto(m_fs, 640, 480, 50, "IMG.JPG", folder("again"), folder("small"));
    EXPECT_NE(fileBytes("thumbs/IMG.JPG"), fileBytes("small/IMG.JPG"));
}

TEST_F(ConversionTest, CreateErrorOfTheReducedCopyStopsBeforeTheThumbnail) {
    putOriginal("IMG.JPG", imaging::encodeJpeg(smoothPicture(320, 240), 80, false));
    EXPECT_EQ(errorOf([&] {
                  convertBoth("IMG.JPG", folder("orig"), {800, 600, 80, folder("gone")},
                              {640, 480, 50, folder("thumbs")});
              }),
              "Cannot create file " + folder("gone") + "\\IMG.JPG");
    EXPECT_FALSE(m_dir.exists("thumbs/IMG.JPG"));

    EXPECT_EQ(errorOf([&] {
                  convertBoth("IMG.JPG", folder("orig"), {800, 600, 80, folder("small")},
                              {640, 480, 50, folder("gone")});
              }),
              "Cannot create file " + folder("gone") + "\\IMG.JPG");
    EXPECT_TRUE(m_dir.exists("small/IMG.JPG"));

    putOriginal("BAD.JPG", asBytes("GIF89a"));
    EXPECT_EQ(errorOf([&] {
                  convertBoth("BAD.JPG", folder("orig"), {800, 600, 80, folder("small")},
                              {640, 480, 50, folder("thumbs")});
              }),
              "JPEG error #" + std::to_string(JERR_NO_SOI));
    EXPECT_FALSE(m_dir.exists("small/BAD.JPG"));
}

TEST_F(ConversionTest, OrientationIsCopiedIntoBothOutputs) {
    struct Row {
        const char* name;
        int orientation;
        int expected; // 0: no APP1 segment at all
    };
    const Row rows[] = {
        {"TURNED.JPG", 6, 6}, {"MIRROR.JPG", 2, 2}, {"PLAIN.JPG", 0, 0}, {"UPRIGHT.JPG", 1, 0}};
    for (const Row& row : rows) {
        RgbImage picture = smoothPicture(400, 300);
        Bytes data = imaging::encodeJpeg(picture, 85, false, 0);
        if (row.orientation != 0) {
            // Written by hand so that an upright photo can carry its tag too.
            const Bytes exif = imaging::makeOrientationExif(row.orientation);
            Bytes segment{0xFF, 0xE1, std::uint8_t((exif.size() + 2) >> 8),
                          std::uint8_t(exif.size() + 2)};
            segment.insert(segment.end(), exif.begin(), exif.end());
            data.insert(data.begin() + 2, segment.begin(), segment.end());
        }
        putOriginal(row.name, data);
        convertBoth(row.name, folder("orig"), {800, 600, 80, folder("small")},
                    {160, 120, 50, folder("thumbs")});
        for (const std::string output : {"small/", "thumbs/"}) {
            const Bytes written = fileBytes(output + row.name);
            EXPECT_EQ(imaging::readExifOrientation(written), row.expected) << output << row.name;
            EXPECT_EQ(hasApp1(written), row.expected != 0) << output << row.name;
        }
    }
}

// The APPn markers of a file's header, in order.
std::vector<int> appMarkers(const Bytes& jpeg) {
    std::vector<int> markers;
    imaging::forEachJpegSegment(jpeg, [&markers](const imaging::JpegSegment& segment) {
        if (segment.marker >= 0xE0 && segment.marker <= 0xEF) {
            markers.push_back(segment.marker);
        }
        return true;
    });
    return markers;
}

TEST_F(ConversionTest, BothOutputsCarryTheColourProfileOfAColourOriginal) {
    using imaging::test::iccChunk;
    const Bytes rgb = imaging::test::fakeIccProfile(70'000, "RGB "); // two chunks
    const Bytes xmp = asBytes(std::string("http://ns.adobe.com/xap/1.0/") + '\0' + "<x/>");
    const Bytes iptc = asBytes(std::string("Photoshop 3.0") + '\0' + "8BIM");
    const Bytes firstHalf(rgb.begin(), rgb.begin() + 35'000);
    struct Row {
        const char* name;
        Bytes data;
        Bytes expected;
        std::vector<int> markers; // APP0 JFIF, APP1 Exif, APP2 profile chunks
    };
    const Row rows[] = {
        {"TAGGED.JPG",
         imaging::test::withSegments(
             imaging::encodeJpeg(smoothPicture(400, 300), 85, false, 6, rgb),
             {{0xE1, xmp}, {0xED, iptc}}),
         rgb,
         {0xE0, 0xE1, 0xE2, 0xE2}},
        {"GREY.JPG",
         imaging::test::withSegments(
             imaging::encodeGreyJpeg(greyPicture(400, 300), 85, false),
             {{0xE2, iccChunk(1, 1, imaging::test::fakeIccProfile(600, "GRAY"))}}),
         {},
         {0xE0}},
        {"HUGE.JPG", // a profile beyond what a copy carries
         imaging::encodeJpeg(
             smoothPicture(400, 300), 85, false, 0,
             imaging::test::fakeIccProfile(imaging::kMaxCarriedIccProfile + 1, "RGB ")),
         {},
         {0xE0}},
        {"BROKEN.JPG",
         imaging::test::withSegments(imaging::encodeJpeg(smoothPicture(400, 300), 85, false),
                                     {{0xE2, iccChunk(1, 2, firstHalf)}}),
         {},
         {0xE0}},
    };
    for (const Row& row : rows) {
        putOriginal(row.name, row.data);
        convertBoth(row.name, folder("orig"), {800, 600, 80, folder("small")},
                    {160, 120, 50, folder("thumbs")});
        for (const std::string output : {"small/", "thumbs/"}) {
            const Bytes written = fileBytes(output + row.name);
            EXPECT_EQ(imaging::readIccProfile(written), row.expected) << output << row.name;
            EXPECT_EQ(appMarkers(written), row.markers) << output << row.name;
        }
    }
}

TEST_F(ConversionTest, CmykOriginalsBecomeColourCopiesWithoutTheirProfile) {
    const std::array<imaging::test::Inks, 4> inks{
        {{0, 0, 0, 0}, {0, 0, 0, 255}, {255, 0, 0, 0}, {0, 0, 255, 0}}};
    for (const bool ycck : {false, true}) {
        putOriginal("PRINT.JPG", imaging::test::encodeCmykJpeg(400, 300, inks, ycck));
        convert("PRINT.JPG", "small");
        const Bytes output = fileBytes("small/PRINT.JPG");
        EXPECT_EQ(imaging::readJpegHeader(output).components, 3);
        EXPECT_TRUE(imaging::readIccProfile(output).empty());
        // White paper, black, cyan and yellow ink, at the quadrants' centres.
        const RgbImage got =
            imaging::decodeStretched(output, DecodeProfile::QualityFirst, {{2, 2}})[0];
        const Bytes want{255, 255, 255, 0, 0, 0, 0, 255, 255, 255, 255, 0};
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_NEAR(got.pixels[i], want[i], 2) << ycck << " at " << i;
        }
    }
}

} // namespace
} // namespace tess::workspace
