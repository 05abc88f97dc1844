#pragma once

#include <gtest/gtest.h>

#include "dialog/dialog_form.h"
#include "dialog/modal_run.h"
#include "dialog/resources.h"
#include "form_builder.h"
#include "scripted_host.h"

namespace quorvane::dialog {

// A test with its own resources and a scripted host installed as the window system.
class ScriptedHostTest : public ::testing::Test {
 protected:
  void SetUp() override { SetWindowSystem(&host); }
  void TearDown() override {
    ReleaseForm(form);
    SetWindowSystem(nullptr);
  }

  // Installs the template as form 100 and loads it.
  void Load(const FormBuilder& builder) {
    builder.Install(resources, kFormId);
    ASSERT_EQ(LoadForm(form, kFormId), kTrue);
  }

  static constexpr std::int32_t kFormId = 100;
  ResourceTable resources;
  ScriptedHost host{resources};
  DialogForm form;
};

}  // namespace quorvane::dialog
