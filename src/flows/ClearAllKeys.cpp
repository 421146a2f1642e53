#include "flows/ClearAllKeys.h"

#include "flows/FlowHost.h"
#include "keys/KeySlotsModel.h"

namespace varnok {

bool ClearAllKeys(KeySlotsModel& model, FlowHost& host) {
    model.ForgetAll();
    const FileResult stored = model.SaveStore();
    if (!stored) host.ShowFileProblem(MessageId::StoreNotSaved, stored);
    if (stored && model.KeptCopy())
        host.ShowFileProblem(MessageId::StoreCopyKept, *model.KeptCopy());
    if (stored && model.Unguarded())
        host.ShowFileProblem(MessageId::StoreUnguarded, *model.Unguarded());
    return static_cast<bool>(stored);
}

}  // namespace varnok
