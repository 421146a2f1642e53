#include "store/CutOffChangeTexts.h"

#include "store/QuotedText.h"

namespace varnok {

std::string DescribeCutOffChange(const CutOffChange& found, std::int32_t language) {
    const bool english = language == 0;
    switch (found.end) {
        case CutOffChange::End::None:
            return {};
        case CutOffChange::End::Completed:
            return english
                       ? ": a save that was cut off has been completed; every key it wrote is "
                         "there, with its function, nothing was lost"
                       : "：一次被中断的保存已经完成；它写入的按键及其功能都在，没有丢失任何内容";
        case CutOffChange::End::Undone:
            return english ? ": a save that was cut off before it changed the file was undone; the "
                             "file holds its keys as before"
                           : "：一次在改动文件之前被中断的保存已撤销；文件保留原来的按键";
        case CutOffChange::End::SetAside:
            break;
    }
    std::string why;
    switch (found.why) {
        case CutOffChange::Why::NotOwn:
            why = english
                      ? "it is not a file this user's Varnok wrote (a link, another user's file "
                        "or a file with other names)"
                      : "它不是当前用户的 Varnok "
                        "写入的文件（链接、其他用户的文件或有其他名称的文件）";
            break;
        case CutOffChange::Why::Damaged:
            why = english ? "it is damaged" : "它已损坏";
            break;
        case CutOffChange::Why::MapChanged:
            why = english ? "the file has changed since that save" : "该文件在那次保存之后已被改动";
            break;
        case CutOffChange::Why::NotAMap:
            why = english ? "it would not leave msmap.dat records" : "它不会留下 msmap.dat 记录";
            break;
    }
    std::string holds;
    switch (found.holds) {
        case CutOffChange::Holds::AsBefore:
            holds = english ? "the file holds its keys as before that save"
                            : "文件保留那次保存之前的按键";
            break;
        case CutOffChange::Holds::AsAfter:
            holds = english ? "the file holds the keys that save wrote"
                            : "文件保存着那次保存写入的按键";
            break;
        case CutOffChange::Holds::Unknown:
            holds = english ? "the file was left as it is; if a save was cut off, it may hold part "
                              "of it: check the keys and save them again"
                            : "文件未作改动；如果有保存被中断，文件可能只包含其中一部分：请检查按键"
                              "并重新保存";
            break;
    }
    return english ? ": the record of a cut-off save was not applied, as " + why +
                         "; it is kept at " + PathInMessage(found.journal) + "; " + holds
                   : "：一次被中断的保存的记录未被采用，因为" + why + "；它保存在 " +
                         PathInMessage(found.journal) + "；" + holds;
}

}  // namespace varnok
