#include <gtest/gtest.h>

#include "xml/Encoding.h"

using xml::SniffDeclaredEncoding;

namespace {

struct SniffCase {
    const char16_t* text;
    const char16_t* declared;
};

const SniffCase Cases[] = {
    {u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a/>", u"Shift_JIS"},
    {u"<?xml version='1.0' encoding='windows-1252'?>", u"windows-1252"},
    {u"<?XML encoding=\"euc-jp\"?>", u"euc-jp"},
    {u"<?xml version=\"1.0\"?><a encoding=\"x\"/>", u""},
    {u"<?xml version=\"1.0\" encoding=\"a&amp;b\"?>", u"a&amp;b"},
    {u"<?xml version=\"1.0\" encoding=utf-8 ?>", u"utf-8"},
    {u" <?xml encoding=\"Shift_JIS\"?>", u""},
    {u"<?xml-stylesheet href=\"a\"?><html><meta http-equiv=\"Content-Type\" "
     u"content=\"text/html; charset=euc-jp\"></html>",
     u"euc-jp"},
    {u"<!DOCTYPE html><!-- x --><html><head><meta http-equiv=\"content-type\" "
     u"content=\"text/html;charset=Shift_JIS\"></head></html>",
     u"Shift_JIS"},
    {u"<html><head><meta name=\"x\" content=\"charset=a\"><meta http-equiv=Content-Type "
     u"content='text/html; CHARSET = euc-jp'></head>",
     u"euc-jp"},
    {u"<html><head><title>t</title></head><meta http-equiv=\"Content-Type\" "
     u"content=\"charset=euc-jp\">",
     u""},
    {u"<html><meta http-equiv=\"Content-Type\"><meta http-equiv=\"Content-Type\" "
     u"content=\"charset=euc-jp\">",
     u""},
    {u"<html><meta http-equiv=\"Content-Type\" content=\"text/html\">"
     u"<meta http-equiv=\"Content-Type\" content=\"charset=euc-jp\">",
     u""},
    {u"<body><meta http-equiv=\"Content-Type\" content=\"charset=euc-jp\">", u""},
    {u"<html><meta http-equiv=\"Content-Style-Type\" content=\"charset=a\">"
     u"<meta http-equiv=\"Content-Type\" content=\"charset=b\">",
     u"b"},
    {u"<html><meta http-equiv=\"Content-Type\" content=\"charset=\">", u""},
    {u"<a>text</a>", u""},
    {u"", u""},
    {u"<html><meta http-equiv=\"Content-Type\" content=\"charset=euc-jp", u""},
};

} // namespace

TEST(SniffDeclaredEncoding, FindsTheDeclarationOrMetaCharset) {
    for (const SniffCase& c : Cases)
        EXPECT_EQ(SniffDeclaredEncoding(c.text), std::u16string(c.declared))
            << std::string(c.text, c.text + 30);
}
