// A test form per test, on the framework initialised once per executable;
// controls under test are built on it. The form is never shown: hiding a
// shown window costs Wine seconds, and the controls work the same hidden.
#pragma once

#include <gtest/gtest.h>

#include "framework/Forms.h"

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    form = Construct<TForm>(Application);
    form->SetBounds(50, 50, 520, 420);
    form->HandleNeeded();
  }
  void TearDown() override {
    delete form;
    form = nullptr;
    Application->ProcessMessages();
  }
  // Creates a control of type T owned by and placed on the form.
  template <class T>
  T* Make(int left = 8, int top = 8, int width = 300, int height = 200) {
    T* c = Construct<T>(form);
    c->SetBounds(left, top, width, height);
    c->SetParent(form);
    return c;
  }

  TForm* form = nullptr;
};
