// Encoding names and their Windows code pages, kept as a hash table whose
// buckets are packed strings: per record two digits of name length, five of
// code page, then the lower-case name. The bucket is the sum of the name's
// lower-cased units modulo the bucket count.
#include <algorithm>
#include <array>

#include "xml/Encoding.h"

namespace xml {
namespace {

constexpr std::size_t BucketCount = 155;
constexpr std::size_t MaxNameLength = 99;

constexpr std::array<const char16_t*, BucketCount> Buckets = {
    u"0800949ksc_5601",                                                                  // 0
    u"0920003x-cp200031920932cseucpkdfmtjapanese",                                       // 1
    u"0920004x-cp200040228591l11250221_iso-2022-jp",                                     // 2
    u"0920005x-cp200050228592l2",                                                        // 3
    u"0600850ibm8501000858ccsid008580228593l3",                                          // 4
    u"0600437ibm4370600860ibm8600701201ucs-2be0228594l4",                                // 5
    u"0600852ibm8520600861ibm8610501250ms-ee0228599l50751932cp51932",                    // 6
    u"0700858cp008580600862ibm8621010021x-mac-thai0620127ibm3670920261x-cp20261",        // 7
    u"0600737ibm7370600863ibm8630500869cp-gr1057003x-iscii-be",                          // 8
    u"0600855ibm8550600864ibm8640628591ibm8190750221ms50221",                            // 9
    u"0600775ibm7750600865ibm8650300949uhc1028591iso-ir-1000228605l91057002x-iscii-de",  // 10
    u"0600857ibm8570500861cp-is0600866ibm8661028592iso-ir-1011028594iso-ir-110",         // 11
    u"0950227x-cp50227",                                                                 // 12
    u"0320866koi1628598csisolatinhebrew1057008x-iscii-ka",                               // 13
    u"0600869ibm8691000950big5-hkscs1220106x-ia5-german",                                // 14
    u"0701200ucs-2le0712001utf32be0920269x-cp202691057009x-iscii-ma",                    // 15
    u"0500437cspc80800708asmo-7080612000utf-320920936x-cp209361765000unicode-1-1-utf-7", // 16
    u"1200775ebcdic-cp-be0701201utf16be0628598hebrew0551932x-euc1765001unicode-1-1-utf-"
    u"81765001unicode-2-0-utf-8",                                                       // 17
    u"0601200utf-161028595iso-ir-1441028597iso-ir-1260728605latin-91057011x-iscii-pa",  // 18
    u"1028593iso-ir-1091028596iso-ir-1270751932ms51932",                                // 19
    u"0600949korean0801253ms-greek0920949x-cp209491128605iso_8859-151050225iso2022-kr", // 20
    u"1200775ebcdic-cp-ch1028598iso-ir-1381450221iso-2022-jp-ms1057006x-iscii-as",      // 21
    u"1028599iso-ir-1481057004x-iscii-ta",                                              // 22
    u"1000949iso-ir-1490820127us-ascii",                                                // 23
    u"",                                                                                // 24
    u"1900850cspc850multilingual1000936gb_2312-800712000utf32le",                       // 25
    u"1300949csksc560119871057005x-iscii-te1965000x-unicode-2-0-utf-7",                 // 26
    u"0701200utf16le0928591iso8859-11965001x-unicode-2-0-utf-8",                        // 27
    u"1000932x-ms-cp9321420002x_chinese-eten0520866koi8r0928592iso8859-2",              // 28
    u"1320000x-chinese-cns0928593iso8859-31138598iso8859-8-i1057010x-iscii-gu",         // 29
    u"0928594iso8859-4",                                                                // 30
    u"0928595iso8859-51150221csiso2022jp",                                              // 31
    u"0900154csptcp1540928596iso8859-6",                                                // 32
    u"1400154cyrillic-asian0900932shift_jis0928597iso8859-7",                           // 33
    u"0928598iso8859-81150225csiso2022kr1057007x-iscii-or",                             // 34
    u"0721866koi8-ru0928599iso8859-9",                                                  // 35
    u"0910000macintosh",                                                                // 36
    u"",                                                                                // 37
    u"",                                                                                // 38
    u"",                                                                                // 39
    u"0800936gb2312801210004x-mac-arabic1520108x-ia5-norwegian0628598visual",           // 40
    u"",                                                                                // 41
    u"0829001x-europa",                                                                 // 42
    u"",                                                                                // 43
    u"1510079x-mac-icelandic",                                                          // 44
    u"0800932sjis-win1128591csisolatin1",                                               // 45
    u"1128592csisolatin2",                                                              // 46
    u"1400949ks_c_5601-19871128593csisolatin3",                                         // 47
    u"1128594csisolatin4",                                                              // 48
    u"1400949ks_c_5601-19890400950big51128595csisolatin5",                              // 49
    u"0500775cp5001565000csunicode11utf7",                                              // 50
    u"0501361johab",                                                                    // 51
    u"1100437codepage4371100932windows-932",                                            // 52
    u"1800862cspc862latinhebrew1310081x-mac-turkish",                                   // 53
    u"",                                                                                // 54
    u"0500154cp1540800775csibm5000701256ms-arab",                                       // 55
    u"1100936windows-9360520127ascii",                                                  // 56
    u"1100874windows-8741528597csisolatingreek",                                        // 57
    u"0500850cp850",                                                                    // 58
    u"0500437cp4370700720dos-7200500860cp8600500932cp9320500950cp9501650222_iso-2022-jp$"
    u"sio",                                                       // 59
    u"0500852cp8520500861cp8610700949ksc56010812001utf-32be",     // 60
    u"0500853cp8530500862cp8620520127cp3670528597greek",          // 61
    u"0500737cp7370500863cp8630801201utf-16be1150220iso-2022-jp", // 62
    u"0500855cp8550500864cp8640500936cp9364520932extended_unix_code_packed_format_for_"
    u"japanese0528591cp819",                                                            // 63
    u"0500775cp7750800860csibm8600500865cp8650500874cp874",                             // 64
    u"0500857cp8570800861csibm8610500866cp8661101201unicodefffe1150225iso-2022-kr",     // 65
    u"0500858cp8580700862dos-8620701255ms-hebr",                                        // 66
    u"0800863csibm8630500949cp9491210005x-mac-hebrew",                                  // 67
    u"1600437cspc8codepage4370800855csibm8550800864csibm8640500869cp8690700874tis-620", // 68
    u"0800865csibm8650700874dos-8740800932ms_kanji0800950x-x-big50420866koi8",          // 69
    u"0800857csibm8570800866csibm8661210003x-mac-korean0812000utf-32le",                // 70
    u"",                                                                                // 71
    u"0500154pt1540500932ms9320801200utf-16le1028591iso-8859-1",                        // 72
    u"0800869csibm8690620866koi8-r1028592iso-8859-2",                                   // 73
    u"1500936csiso58gb2312800820127iso-ir-61028593iso-8859-30828597elot_9281238598iso-8859-"
    u"8-i",                                                                     // 74
    u"1028594iso-8859-4",                                                       // 75
    u"0800852cspcp8520500936ms9360701252ms-ansi0621866koi8-u1028595iso-8859-5", // 76
    u"2400858pc-multilingual-850+euro0220127us1028596iso-8859-6",               // 77
    u"1028597iso-8859-71028603iso8859-13",                                      // 78
    u"1320000x-chinese_cns1028598iso-8859-8",                                   // 79
    u"1828595csisolatincyrillic1028599iso-8859-91028605iso8859-15",             // 80
    u"0465001utf8",                                                             // 81
    u"1510017x-mac-ukrainian",                                                  // 82
    u"",                                                                        // 83
    u"0828595cyrillic",                                                         // 84
    u"0900936gb2312-80",                                                        // 85
    u"",                                                                        // 86
    u"0720866cskoi8r1528591iso_8859-1:1987",                                    // 87
    u"1528592iso_8859-2:1987",                                                  // 88
    u"1354936iso-4873:1986",                                                    // 89
    u"0700932sjis-ms1528593iso_8859-3:1988",                                    // 90
    u"0600936gb23120701251ms-cyrl1528594iso_8859-4:1988",                       // 91
    u"1528595iso_8859-5:19881528596iso_8859-6:1987",                            // 92
    u"1528597iso_8859-7:1987",                                                  // 93
    u"1300932shifft_jis-ms1201250windows-1250",                                 // 94
    u"0900949ks_c_56011201251windows-12511110000csmacintosh0810029x-mac-ce1528598iso_8859-"
    u"8:1988",                           // 95
    u"0601200cp12001201252windows-1252", // 96
    u"1400949ks_c_5601_19870601201cp12011201253windows-12531528599iso_8859-9:19891052936hz-"
    u"gb-2312",                                                                       // 97
    u"1201254windows-1254",                                                           // 98
    u"1000936csgb2312801201255windows-1255",                                          // 99
    u"1100932windows-31j1201256windows-1256",                                         // 100
    u"0601133cp11330601250cp12501201257windows-1257",                                 // 101
    u"0601125cp11250601251cp12511201258windows-1258",                                 // 102
    u"0601252cp12520701254ms-turk",                                                   // 103
    u"0601253cp12530601361cp1361",                                                    // 104
    u"0800949ks-c56010601254cp1254",                                                  // 105
    u"0601255cp12550651936euc-cn",                                                    // 106
    u"0601256cp1256",                                                                 // 107
    u"0800858ibm008580600950csbig50601257cp1257",                                     // 108
    u"0601258cp1258",                                                                 // 109
    u"0520105x-ia5",                                                                  // 110
    u"0801250x-cp12501110006x-mac-greek0738598logical",                               // 111
    u"0801251x-cp1251",                                                               // 112
    u"",                                                                              // 113
    u"1200932cswindows31j1410001x-mac-japanese",                                      // 114
    u"0700936chinese0720127csascii0620932euc-jp",                                     // 115
    u"0501200ucs-20851936x-euc-cn",                                                   // 116
    u"0628597greek8",                                                                 // 117
    u"0651949euc-kr",                                                                 // 118
    u"",                                                                              // 119
    u"0628591latin1",                                                                 // 120
    u"1100874iso-8859-110628592latin2",                                               // 121
    u"1420127ansi_x3.4-19681420127ansi_x3.4-19861028591iso_8859-10628593latin3",      // 122
    u"0701200unicode1028592iso_8859-20628594latin41128603iso-8859-13",                // 123
    u"1410082x-mac-croatian1028593iso_8859-30628599latin5",                           // 124
    u"1028594iso_8859-41128605iso-8859-150851932x-euc-jp0565000utf-7",                // 125
    u"1300775cspc775baltic0512000utf321028595iso_8859-50565001utf-8",                 // 126
    u"0601252x-ansi1710002x-mac-chinesetrad1028596iso_8859-6",                        // 127
    u"0700154ptcp1540501200utf161410010x-mac-romanian1028597iso_8859-70628605latin9", // 128
    u"0900936iso-ir-581028598iso_8859-8",                                             // 129
    u"1028599iso_8859-9",                                                             // 130
    u"0400932sjis1350221iso2022-jp-ms",                                               // 131
    u"0751949cseuckr",                                                                // 132
    u"1420002x-chinese-eten",                                                         // 133
    u"1410007x-mac-cyrillic",                                                         // 134
    u"1000932shifft_jis",                                                             // 135
    u"0828596ecma-114",                                                               // 136
    u"",                                                                              // 137
    u"0900932shift-jis",                                                              // 138
    u"0701256cp1256 1320107x-ia5-swedish",                                            // 139
    u"0828597ecma-118",                                                               // 140
    u"0600932x-sjis1710008x-mac-chinesesimp1628596csisolatinarabic",                  // 141
    u"",                                                                              // 142
    u"0754936gb18030",                                                                // 143
    u"0712000cp120001350221windows-50221",                                            // 144
    u"0900932sjis-open0500936cn-gb0712001cp120010628596arabic",                       // 145
    u"",                                                                              // 146
    u"",                                                                              // 147
    u"0700950cn-big51001133ibm-cp11330920127iso646-us",                               // 148
    u"",                                                                              // 149
    u"0800936csgb23120900949ks-c-56010310000mac",                                     // 150
    u"1001257winbaltrim1020127iso-ir-6us0750221cp50221",                              // 151
    u"1000932csshiftjis",                                                             // 152
    u"0300936gbk0765001cp65001",                                                      // 153
    u"0920001x-cp200011620127iso_646.irv:19911351932windows-51932",                   // 154
};

char16_t LowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::size_t BucketOf(std::u16string_view lowerName) {
    std::size_t sum = 0;
    for (char16_t c : lowerName)
        sum += c;
    return sum % BucketCount;
}

int DigitsAt(std::u16string_view record, std::size_t offset, std::size_t count) {
    int value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value * 10 + (record[offset + i] - u'0');
    return value;
}

std::int32_t FindInBucket(std::u16string_view bucket, std::u16string_view lowerName) {
    constexpr std::size_t Header = 7;
    while (bucket.size() >= Header) {
        auto length = static_cast<std::size_t>(DigitsAt(bucket, 0, 2));
        if (bucket.substr(Header, length) == lowerName)
            return DigitsAt(bucket, 2, 5);
        bucket.remove_prefix(std::min(bucket.size(), Header + length));
    }
    return CodePageUnknown;
}

} // namespace

std::int32_t CodePageOf(std::u16string_view name) {
    if (name.empty())
        return 0;
    if (name.starts_with(u"UTF-32"))
        return CodePageOwnUtf32;
    if (name.size() > MaxNameLength)
        return CodePageUnknown;
    std::u16string lower(name);
    for (char16_t& c : lower)
        c = LowerAscii(c);
    return FindInBucket(Buckets[BucketOf(lower)], lower);
}

} // namespace xml
