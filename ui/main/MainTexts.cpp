#include "ui/main/MainTexts.h"

#include "util/GbkText.h"

namespace main_texts {

namespace {
std::string Number(long value) {
    return std::to_string(value);
}
}  // namespace

// The texts are joined piece by piece rather than formatted into a buffer, so a search text of
// any length is taken over whole.
std::string KeywordSummary(const std::string& term, long count, bool exactTermFound) {
    return GBK("搜索: ") + term + "\r\n" + GBK("结果: ") + Number(count) + GBK(" 个术语 (") +
           (exactTermFound ? GBK("存在") : GBK("不存在")) + GBK("完全匹配的)");
}

std::string InitialSummary(char letter, long count) {
    const std::string one(1, letter);
    return GBK("搜索首写字母为 ") + gbk::ToUpper(one) + GBK(" 或 ") + gbk::ToLower(one) +
           GBK(" 的所有术语") + "\r\n" + GBK("结果: ") + Number(count) + GBK(" 个术语");
}

std::string AllSummary(long count) {
    return GBK("共有 ") + Number(count) + GBK(" 个术语");
}

std::string NonLetterSummary(long count) {
    return GBK("搜索不以26个英文字母开头的所有术语") + "\r\n" + GBK("结果: ") + Number(count) +
           GBK(" 个术语");
}

std::string CopyText(const std::string& meaning, const std::string& term) {
    return meaning + "(" + term + ")";
}

std::string CountLine(long count) {
    return GBK("-- 术语总数: ") + Number(count) + GBK(" 条 --");
}

std::string AboutTerm() {
    return "About Termix";
}

std::string AboutMeaning() {
    return GBK("关于 Termix");
}

std::string AboutText() {
    return GBK(
        "[名称] Vantrel英汉术语词典\r\n"
        "[用户] 翻译/学习UML的人士\r\n"
        "[目的] (1) 让<<非程序员>>的译者们方便的使用Vantrel统一的术语。\r\n"
        "       (2) 让建模工具的使用者随手查到术语的汉意和解释。\r\n"
        "\r\n"
        "[作者] Termix 开发组\r\n"
        "[邮件] termix@example.org\r\n"
        "[地点] 中国\r\n"
        "[开发平台] C++ / Qt\r\n"
        "[升级记录] 请见随发布带的readme.txt文档\r\n"
        "[开发时间] 以下每天的部分时间\r\n"
        "    2003年10月05日 v1.2\r\n"
        "    2003年10月04日 v1.1\r\n"
        "    2003年10月03日 v1.0\r\n"
        "    2003年10月02日 v0.5\r\n"
        "    2003年10月01日 v0.1\r\n"
        "\r\n"
        "                    -- 愿术语统一, 译文通达 --\r\n");
}

}  // namespace main_texts
