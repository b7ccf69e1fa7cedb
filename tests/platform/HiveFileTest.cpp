#include "platform/HiveFile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

const QByteArray kExample = "Windows Registry Editor Version 5.00\n"
                            "\n"
                            "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n"
                            "\"AnaDigi\"=dword:00000001\n"
                            "\"FormLeft\"=dword:ffffffd8\n"
                            "\"kiMes0\"=\"first line\\nsecond line\"\n"
                            "\"Odd\"=hex(3):01,02,ff\n"
                            "\n";

QByteArray utf8z(const char* text) {
    return QByteArray(text).append('\0');
}

HiveFile parsed(const QByteArray& bytes) {
    std::optional<HiveFile> hive = HiveFile::parse(bytes);
    EXPECT_TRUE(hive.has_value()) << bytes.toStdString();
    return hive.value_or(HiveFile());
}

HiveFile hiveWith(const QString& path, const QString& name, quint32 type, const QByteArray& data) {
    HiveFile hive;
    hive.createKey(path).setValue(name, type, data);
    return hive;
}

// The serialised text must read back as the very same hive.
void expectRoundTrip(const HiveFile& hive) {
    const QByteArray text = hive.serialise();
    const std::optional<HiveFile> back = HiveFile::parse(text);
    ASSERT_TRUE(back.has_value()) << text.toStdString();
    EXPECT_EQ(*back, hive) << text.toStdString();
}

} // namespace

TEST(HiveFileFormat, ReadsTheExportLayout) {
    const HiveFile hive = parsed(kExample);
    ASSERT_EQ(hive.keys().size(), 1);
    const HiveKey& key = hive.keys()[0];
    EXPECT_EQ(key.path, "SOFTWARE\\Vellmoor\\Hourling1");
    ASSERT_EQ(key.values.size(), 4);
    EXPECT_EQ(key.values[0], (HiveValue{"AnaDigi", RegType::kDword, QByteArray("\1\0\0\0", 4)}));
    EXPECT_EQ(key.values[1],
              (HiveValue{"FormLeft", RegType::kDword, QByteArray("\xd8\xff\xff\xff", 4)}));
    EXPECT_EQ(key.values[2],
              (HiveValue{"kiMes0", RegType::kString, utf8z("first line\nsecond line")}));
    EXPECT_EQ(key.values[3], (HiveValue{"Odd", RegType::kBinary, QByteArray("\x01\x02\xff")}));
}

TEST(HiveFileFormat, WritesTheExportLayoutExactly) {
    EXPECT_EQ(parsed(kExample).serialise(), kExample);

    HiveFile hive;
    hive.createKey("A");
    hive.createKey("A\\B").setValue("", RegType::kString, utf8z("default"));
    EXPECT_EQ(hive.serialise(), "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\A]\n\n"
                                "[HKEY_CURRENT_USER\\A\\B]\n@=\"default\"\n\n");
    expectRoundTrip(hive);
}

TEST(HiveFileFormat, EscapesInStringsAndNames) {
    const QString tricky = QString::fromUtf8("back\\slash \"quoted\"\nnew\rret\ttab 日本語\\n");
    HiveFile hive =
        hiveWith("K", "name \"with\" \\ and\ttab", RegType::kString, tricky.toUtf8().append('\0'));
    const QByteArray text = hive.serialise();
    EXPECT_TRUE(text.contains("\"name \\\"with\\\" \\\\ and\\ttab\"="));
    EXPECT_TRUE(text.contains("\"back\\\\slash \\\"quoted\\\"\\nnew\\rret\\ttab "
                              "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\\\\n\""));
    expectRoundTrip(hive);

    for (const char* bad : {"\"v\"=\"\\q\"", "\"v\"=\"open", "\"v\"=\"x\\\"", "\"v\"=\"a\"b\"",
                            "\"v\"=\"a\" trailing", "\"v\\x\"=dword:00000000"}) {
        EXPECT_FALSE(HiveFile::parse(
            QByteArray("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n") + bad))
            << bad;
    }
}

TEST(HiveFileFormat, KeepsOtherTypesAsHex) {
    const QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\Other]\n"
                            "\"Multi\"=hex(7):61,00,62,00,00,00\n"
                            "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\n"
                            "\"Expand\"=hex(2):25,41,25,00\n"
                            "\"None\"=hex(0):\n"
                            "\"Binary\"=hex:de,ad\n"
                            "\"Big\"=hex(ffffffff):00\n"
                            "\"ShortDword\"=hex(4):01,02\n"
                            "\"RawString\"=hex(1):41,42\n";
    const HiveFile hive = parsed(text);
    const HiveKey& key = hive.keys()[0];
    EXPECT_EQ(*key.value("Multi"), (HiveValue{"Multi", 7, QByteArray("a\0b\0\0\0", 6)}));
    EXPECT_EQ(key.value("Qword")->type, 0xbu);
    EXPECT_EQ(key.value("Qword")->data.size(), 8);
    EXPECT_EQ(*key.value("Expand"), (HiveValue{"Expand", RegType::kExpandString, utf8z("%A%")}));
    EXPECT_EQ(*key.value("None"), (HiveValue{"None", RegType::kNone, {}}));
    EXPECT_EQ(*key.value("Binary"), (HiveValue{"Binary", RegType::kBinary, "\xde\xad"}));
    EXPECT_EQ(key.value("Big")->type, 0xffffffffu);
    EXPECT_EQ(*key.value("ShortDword"), (HiveValue{"ShortDword", RegType::kDword, "\x01\x02"}));
    EXPECT_EQ(*key.value("RawString"), (HiveValue{"RawString", RegType::kString, "AB"}));

    const QByteArray written = hive.serialise();
    EXPECT_TRUE(written.contains("\"ShortDword\"=hex(4):01,02\n"));
    // Without its terminating zero a string cannot be shown quoted and still read back the same.
    EXPECT_TRUE(written.contains("\"RawString\"=hex(1):41,42\n"));
    EXPECT_TRUE(written.contains("\"Expand\"=hex(2):25,41,25,00\n"));
    expectRoundTrip(hive);
}

TEST(HiveFileFormat, LongValuesWrapAndReadBack) {
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.append(char(i * 7));
    HiveFile hive = hiveWith("K", "Blob", RegType::kBinary, bytes);
    for (const QByteArray& line : hive.serialise().split('\n'))
        EXPECT_LE(line.size(), 100);
    expectRoundTrip(hive);

    // A long string stays on one line.
    const QString message = QString::fromUtf8("長い行").repeated(200000);
    expectRoundTrip(hiveWith("K", "Long", RegType::kString, message.toUtf8().append('\0')));

    // Control characters other than tab, CR and LF cannot be quoted.
    HiveFile control = hiveWith("K", "Bell", RegType::kString, utf8z("ring\a"));
    EXPECT_TRUE(control.serialise().contains("\"Bell\"=hex(1):"));
    expectRoundTrip(control);
}

TEST(HiveFileFormat, NamesCompareWithoutCaseAndKeepTheirCase) {
    HiveFile hive = parsed("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_CURRENT_USER\\Software\\Vellmoor]\n"
                           "\"AnaDigi\"=dword:00000001\n"
                           "[hkey_current_user\\SOFTWARE\\vellmoor\\Sub]\n");
    EXPECT_TRUE(hive.keyExists("SOFTWARE\\VELLMOOR\\sub"));
    ASSERT_NE(hive.key("software\\vellmoor"), nullptr);
    HiveKey& vendor = *hive.key("SOFTWARE\\VELLMOOR");
    EXPECT_EQ(vendor.path, "Software\\Vellmoor");
    EXPECT_NE(vendor.value("anadigi"), nullptr);

    EXPECT_TRUE(vendor.setValue("ANADIGI", RegType::kDword, QByteArray("\0\0\0\0", 4)));
    EXPECT_FALSE(vendor.setValue("anaDigi", RegType::kDword, QByteArray("\0\0\0\0", 4)));
    ASSERT_EQ(vendor.values.size(), 1);
    EXPECT_EQ(vendor.values[0].name, "AnaDigi");
    EXPECT_EQ(&hive.createKey("software\\VELLMOOR"), &vendor);
    EXPECT_EQ(hive.keys().size(), 2);
}

TEST(HiveFileFormat, EmptySectionsAndParentOnlyKeys) {
    HiveFile hive = parsed("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_CURRENT_USER\\Empty]\n\n"
                           "[HKEY_CURRENT_USER\\Parent\\Child\\Grandchild]\n"
                           "[HKEY_CURRENT_USER\\Parent\\Sibling]\n"
                           "[HKEY_CURRENT_USER\\ParentLike]\n");
    EXPECT_TRUE(hive.keyExists("Empty"));
    EXPECT_FALSE(hive.hasSubKeys("Empty"));
    EXPECT_TRUE(hive.keyExists("Parent"));
    EXPECT_TRUE(hive.keyExists("Parent\\Child"));
    EXPECT_EQ(hive.key("Parent"), nullptr);
    EXPECT_TRUE(hive.hasSubKeys("Parent"));
    EXPECT_FALSE(hive.keyExists("Par"));
    EXPECT_FALSE(hive.keyExists("Parent\\Chi"));
    expectRoundTrip(hive);

    EXPECT_TRUE(hive.deleteTree("PARENT\\child"));
    EXPECT_FALSE(hive.keyExists("Parent\\Child\\Grandchild"));
    EXPECT_TRUE(hive.keyExists("Parent\\Sibling"));
    EXPECT_FALSE(hive.deleteTree("Parent\\Child"));
    EXPECT_TRUE(hive.deleteTree("Parent"));
    // A key whose name only starts like the deleted one stays.
    EXPECT_TRUE(hive.keyExists("ParentLike"));
    EXPECT_TRUE(hive.deleteTree("Empty"));
    EXPECT_TRUE(hive.deleteTree("ParentLike"));
    EXPECT_TRUE(hive.isEmpty());
}

TEST(HiveFileFormat, RepeatedSectionsAndValuesMergeAsAnImportWould) {
    const HiveFile hive = parsed("Windows Registry Editor Version 5.00\n"
                                 "[HKEY_CURRENT_USER\\K]\n\"a\"=dword:00000001\n\"b\"=\"x\"\n"
                                 "[HKEY_CURRENT_USER\\L]\n"
                                 "[HKEY_CURRENT_USER\\k]\n\"A\"=dword:00000002\n");
    ASSERT_EQ(hive.keys().size(), 2);
    const HiveKey& key = hive.keys()[0];
    ASSERT_EQ(key.values.size(), 2);
    EXPECT_EQ(key.values[0], (HiveValue{"a", RegType::kDword, QByteArray("\2\0\0\0", 4)}));
}

TEST(HiveFileFormat, AcceptsWhatEditorsAndOtherSystemsWrite) {
    QByteArray crlf = kExample;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(parsed(crlf), parsed(kExample));
    EXPECT_EQ(parsed("\xEF\xBB\xBF" + kExample), parsed(kExample));
    EXPECT_EQ(parsed("\n\n" + kExample + "; a note\n   \n\t\n"), parsed(kExample));
    EXPECT_EQ(parsed("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
                     "  \"v\" = dword:0000000A  \n\"w\"=DWORD:ABCDEF01\n\"x\"=HEX(3):0a,\\\n"
                     "     0B\n"),
              parsed("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
                     "\"v\"=dword:0000000a\n\"w\"=dword:abcdef01\n\"x\"=hex(3):0a,0b\n"));
    EXPECT_TRUE(parsed("").isEmpty());
    EXPECT_TRUE(parsed(" \n\r\n").isEmpty());
    EXPECT_TRUE(parsed("Windows Registry Editor Version 5.00\n").isEmpty());
    // The root itself may carry values.
    EXPECT_NE(
        parsed("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER]\n@=\"r\"\n").key(""),
        nullptr);
}

QByteArray utf16(const QByteArray& text) {
    const QString wide = QString::fromUtf8(text);
    return "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
}

QByteArray replaced(QByteArray text, const char* from, const char* to) {
    return text.replace(from, to);
}

TEST(HiveFileFormat, ReadsEveryLineItCanAndWritesThemBackInTheFilesForm) {
    const QByteArray head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n";
    const QByteArray body = "\"a\"=dword:0000003c\n\"s\"=\"text\"\n";
    const QByteArray written = head + body + "\n";
    // Each case: its name, the bytes read, the lines skipped and what writing it back gives.
    const std::tuple<const char*, QByteArray, QList<qsizetype>, QByteArray> cases[] = {
        {"trailing zeros", head + body + QByteArray(301, '\0'), {}, written},
        {"no last line end", head + body.chopped(1), {}, written},
        {"dword cut at the end", head + body + "\"b\"=dword:0000", {6}, written},
        {"bytes cut at the end", head + body + "\"b\"=hex:01,\\\n 02", {6}, written},
        {"short dword", head + "\"a\"=dword:3c\n\"s\"=\"text\"\n", {}, written},
        {"CR line ends", replaced(head + body, "\n", "\r"), {}, replaced(written, "\n", "\r")},
        {"REGEDIT4",
         replaced(head + body, HiveFile::kHeader, "REGEDIT4"),
         {},
         replaced(written, HiveFile::kHeader, "REGEDIT4")},
        {"editor's export",
         utf16(replaced(head + body, "\n", "\r\n")) + QByteArray(3, '\0'),
         {},
         utf16(replaced(written, "\n", "\r\n"))},
        {"no header", head.mid(38) + body, {1}, written},
        {"bad dword between",
         head + "\"a\"=dword:3c\n\"b\"=dword:3g\n\"s\"=\"text\"\n",
         {5},
         written},
        {"broken section",
         head + "\"a\"=dword:3c\n[HKEY_CURRENT_USER\\L\n\"b\"=\"\"\n" + head.mid(38) +
             "\"s\"=\"text\"\n",
         {5, 6},
         written},
        {"other kinds",
         head + "\"b\"=hex:00\n\"h\"=hex(2):25,00,41,00,00,00\n",
         {},
         head + "\"b\"=hex(3):00\n\"h\"=hex(2):25,00,41,00,00,00\n\n"},
        {"nothing readable", "\x89PNG\r\n\x1a\n", {1, 2}, HiveFile::kHeader + "\n\n"},
    };
    for (const auto& [name, bytes, skipped, written] : cases) {
        const HiveReading reading = HiveFile::read(bytes);
        QList<qsizetype> lines;
        for (const HiveProblem& problem : reading.problems)
            lines << problem.line;
        EXPECT_EQ(lines, skipped) << name;
        EXPECT_EQ(reading.hive.serialise(), written) << name;
    }
}

TEST(HiveFileFormat, TellsADamagedFile) {
    const QByteArray head = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n";
    const QList<QByteArray> damaged = {
        "[HKEY_CURRENT_USER\\K]\n",
        "Windows Registry Editor Version 5.00\n\"v\"=dword:00000000\n",
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\K]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USERX\\K]\n",
        "Windows Registry Editor Version 5.00\n[-HKEY_CURRENT_USER\\K]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K\\\\L]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K\\]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K\n",
        head + "\"v\"=dword:000000000\n",
        head + "\"v\"=dword:0000000g\n",
        head + "\"v\"=dword:\n",
        head + "\"v\"=hex(3):1,02\n",
        head + "\"v\"=hex(3):01,,02\n",
        head + "\"v\"=hex(3):01,02,\n",
        head + "\"v\"=hex(3):01,\\\n",
        head + "\"v\"=hex(3:01\n",
        head + "\"v\"=hex(123456789):01\n",
        head + "\"v\"=hex()\n",
        head + "\"v\"=-\n",
        head + "\"v\"\n",
        head + "v=dword:00000000\n",
        head + "\"v\"=word:00000000\n",
        head + "\"v\"=\"a\x01b\"\n",
        head + "\"v\"=\"a\rb\"\n",
        head + QByteArray("\"v\"=\"a\0b\"\n", 11),
        head + "\"v\"=\"\xff\xfe\"\n",
        head + "\"v\"=\"\xe6\x97\"\n",
    };
    for (const QByteArray& text : damaged)
        EXPECT_FALSE(HiveFile::parse(text).has_value()) << text.toStdString();
}

TEST(HiveFileFormat, KeepsAByteOrderMarkThatIsText) {
    // Inputs the fuzzer found; each lost a character between parse and serialise.
    const QByteArray head = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n";
    const HiveFile hive = parsed(head + "\"kiMes0\"=\"\xEF\xBB\xBFn\\t&\"\n\"OddS\"=hex(1):\n");
    EXPECT_EQ(hive.keys()[0].values[0].data, utf8z("\xEF\xBB\xBFn\t&"));
    expectRoundTrip(hive);
    expectRoundTrip(hiveWith("K", "v", RegType::kString, utf8z("\xEF\xBB\xBF")));
    // The file's own mark is still not part of the first line.
    EXPECT_EQ(parsed("\xEF\xBB\xBF" + head).keys().size(), 1);
}

TEST(HiveFileFormat, SurvivesAnyBytes) {
    // Whatever the bytes, parsing ends without a crash, and what parses writes back the same.
    QRandomGenerator random(20261208);
    HiveFile rich = parsed(kExample);
    rich.createKey("Other\\Key").setValue("Blob", 0x42, QByteArray(100, '\x5a'));
    rich.createKey("Other\\Empty");
    const QByteArray valid = rich.serialise();
    const QByteArray alphabet =
        "[]\\\"=:,()@;\n\r\t xdwordhex0123456789abcdefHKEY_CURRENT_USER\xe6\x97";

    auto check = [](const QByteArray& bytes) {
        const std::optional<HiveFile> hive = HiveFile::parse(bytes);
        if (hive) {
            std::optional<HiveFile> again = HiveFile::parse(hive->serialise());
            ASSERT_TRUE(again.has_value()) << bytes.toStdString();
            EXPECT_EQ(*again, *hive) << bytes.toStdString();
        }
    };
    for (qsizetype length = 0; length <= valid.size(); ++length)
        check(valid.left(length));
    for (int round = 0; round < 2000; ++round) {
        QByteArray mutated = valid;
        for (int edits = 1 + random.bounded(4); edits > 0; --edits) {
            const qsizetype at = random.bounded(mutated.size());
            switch (random.bounded(3)) {
            case 0:
                mutated[at] = alphabet[random.bounded(alphabet.size())];
                break;
            case 1:
                mutated.remove(at, 1 + random.bounded(8));
                break;
            default:
                mutated.insert(at, char(random.bounded(256)));
            }
        }
        check(mutated);
    }
    for (int round = 0; round < 500; ++round) {
        QByteArray noise(random.bounded(300), '\0');
        for (char& c : noise)
            c = random.bounded(2) ? alphabet[random.bounded(alphabet.size())]
                                  : char(random.bounded(256));
        check(noise);
        check(HiveFile::kHeader + '\n' + noise);
    }
}
