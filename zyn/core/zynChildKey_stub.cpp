// Until containers can be walked, unnamed members contribute no key.
#include "zyn/core/zynParameter_internal.h"

utString zyn_child_key_text(const zynParameter&, const zynParameter&, bool& is_name_key) {
  is_name_key = false;
  return utString();
}
