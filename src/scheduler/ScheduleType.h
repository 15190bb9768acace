// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The action types of a Schedule row (its SchType column), the one definition that the
// Power Scheduler and the tick's due entries share. Rows at MarkedForDeletion are removed
// when the schedule list closes; any other value is of no known type and never fires.
namespace ScheduleType {
enum : int { MarkedForDeletion = 0, LaunchProgram = 1, ShutDownSystem = 2 };
}
