#include "flows/ClearAllKeys.h"

#include "keys/KeyTableModel.h"

namespace varnok {

void ClearAllKeys(KeyTableModel& model) {
    model.ForgetAll();
    model.SaveStore();
}

}  // namespace varnok
