#include "core/tip_counter.h"

#include "core/app_ini.h"

namespace snibbet {

bool CountTipShowing(const std::wstring& name, int most) {
  TAppIni& store = AppIni();
  const int count = store.ReadIntegerDef(name, 0);
  if (count >= most) return false;
  store.WriteInteger(name, count + 1);
  return true;
}

}  // namespace snibbet
