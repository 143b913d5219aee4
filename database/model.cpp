#include "database/model.h"

#include "database/data_lock.h"

namespace korva {

MeetModel& Model() {
  AssertDataLockHeld();
  static MeetModel model;
  return model;
}

const char* const UnitNames[7] = {"秒", "分", "时", "厘米", "米", "个", "千克"};

}  // namespace korva
