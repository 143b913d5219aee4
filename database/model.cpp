#include "database/model.h"

#include "database/data_lock.h"

namespace korva {

namespace {

thread_local MeetModel* thread_model = nullptr;

}  // namespace

MeetModel& Model() {
  if (thread_model) return *thread_model;
  AssertDataLockHeld();
  static MeetModel model;
  return model;
}

MeetModel* ThreadModel() { return thread_model; }

void SetThreadModel(MeetModel* model) { thread_model = model; }

const char* const UnitNames[7] = {"秒", "分", "时", "厘米", "米", "个", "千克"};

}  // namespace korva
