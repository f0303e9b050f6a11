#pragma once
// The view's commands that change the installation database: add, modify and delete HHUs (in
// HHU mode) or Blocks (in the other modes), add a numbered batch of meters to the Block shown,
// modify or delete the selected meter, and look a meter up. Each writes the database, brings
// the document's tables and the view's lists up to date and repaints.
#include "ui/view/ViewCommands.h"

namespace mrv {

void OnEditAdd(const ViewCommandArgs& args);
void OnEditModify(const ViewCommandArgs& args);
void OnEditDelete(const ViewCommandArgs& args);
void OnMeterAdd(const ViewCommandArgs& args);
void OnMeterModify(const ViewCommandArgs& args);
void OnMeterDelete(const ViewCommandArgs& args);
void OnQuery(const ViewCommandArgs& args);

} // namespace mrv
