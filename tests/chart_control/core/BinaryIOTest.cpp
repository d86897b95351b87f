#include <gtest/gtest.h>

#include <string>

#include "core/files/BinaryIO.h"

using namespace pelomar::core;

TEST(BinaryIO, FieldsAreLittleEndianAndRoundTrip) {
    ByteWriter w;
    w.putSingle(1.0f);
    w.putDouble(-2.0);
    w.putLong(0x01020304);
    w.putInteger(-2);
    w.putText("AB");
    const std::vector<uint8_t> expected = {
        0x00, 0x00, 0x80, 0x3F,                          // 1.0f
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,  // -2.0
        0x04, 0x03, 0x02, 0x01,                          // Long
        0xFE, 0xFF,                                      // Integer -2
        0x02, 0x00, 'A', 'B',                            // text
    };
    EXPECT_EQ(w.bytes(), expected);

    ByteReader r(w.bytes());
    EXPECT_EQ(r.getSingle(), 1.0f);
    EXPECT_EQ(r.getDouble(), -2.0);
    EXPECT_EQ(r.getLong(), 0x01020304);
    EXPECT_EQ(r.getInteger(), -2);
    EXPECT_EQ(r.getText(), "AB");
    EXPECT_FALSE(r.truncated());
}

TEST(BinaryIO, CodePageBytesPassUnchanged) {
    const std::string text = "\xB5S/cm \xE9\x80";  // micro, e-acute, euro in windows-1252
    ByteWriter w;
    w.putText(text);
    ByteReader r(w.bytes());
    EXPECT_EQ(r.getText(), text);
}

TEST(BinaryIO, ReadingPastTheEndGivesZerosAndSaysSo) {
    const std::vector<uint8_t> bytes = {0x05, 0x00, 'a', 'b', 0x01};
    ByteReader r(bytes);
    EXPECT_EQ(r.getText(), "ab\x01");  // declared 5, only 3 there
    EXPECT_TRUE(r.truncated());
    EXPECT_EQ(r.getLong(), 0);
    EXPECT_EQ(r.getSingle(), 0.0f);
}

TEST(BinaryIO, OverlongTextIsCutAtTheLengthFieldsLimit) {
    ByteWriter w;
    w.putText(std::string(70000, 'x'));
    EXPECT_EQ(w.size(), 2u + 65535u);
    ByteReader r(w.bytes());
    EXPECT_EQ(r.getText().size(), 65535u);
}
