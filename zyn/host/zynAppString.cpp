#include "zyn/host/zynAppString.h"

apString zyn_transcode(const utString& text, int& status) {
  status = 0;
  return apString{text};
}

utString zyn_transcode(const apString& text, int& status) {
  status = 0;
  return text.m_text;
}
