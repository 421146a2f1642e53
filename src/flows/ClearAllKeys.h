#pragma once

namespace varnok {

class FlowHost;
class KeySlotsModel;

// The Clear button: forgets every slot's definition in the model and in the slot map file.
// The keyboard keeps its table until the next save. False, after telling the user which file
// was left alone and why, when the file could not be written.
bool ClearAllKeys(KeySlotsModel& model, FlowHost& host);

}  // namespace varnok
