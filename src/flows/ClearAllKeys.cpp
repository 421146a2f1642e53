#include "flows/ClearAllKeys.h"

#include "flows/FlowHost.h"
#include "keys/KeyTableModel.h"

namespace varnok {

bool ClearAllKeys(KeyTableModel& model, FlowHost& host) {
    model.ForgetAll();
    const FileResult stored = model.SaveStore();
    if (!stored) host.ShowFileProblem(MessageId::StoreNotSaved, stored);
    return static_cast<bool>(stored);
}

}  // namespace varnok
