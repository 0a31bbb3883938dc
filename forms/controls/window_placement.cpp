#include "forms/controls/window_placement.h"

#include "core/settings.h"

namespace fondaris::forms {

void restorePosition(Form& form) {
  const core::WindowPosition stored = core::loadPosition(form.settingsKey());
  if (stored.top >= 1 && stored.left >= 1) {
    form.geometry.top = stored.top;
    form.geometry.left = stored.left;
  }
}

void restoreSize(Form& form) {
  const core::WindowSize stored = core::loadSize(form.settingsKey());
  const int height = form.geometry.height > 0 ? form.geometry.height : form.designHeight;
  const int width = form.geometry.width > 0 ? form.geometry.width : form.designWidth;
  if (stored.height > height) form.geometry.height = stored.height;
  if (stored.width > width) form.geometry.width = stored.width;
}

void storePosition(const Form& form) {
  // A position that cannot be kept only costs the next start its place.
  core::ignoreFailure(
      core::savePosition(form.settingsKey(), form.geometry.top, form.geometry.left));
}

void storeSize(const Form& form) {
  core::ignoreFailure(
      core::saveSize(form.settingsKey(), form.geometry.height, form.geometry.width));
}

}  // namespace fondaris::forms
