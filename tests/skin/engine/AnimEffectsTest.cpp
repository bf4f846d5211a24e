#include <gtest/gtest.h>

#include "skin/engine/AnimEffects.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

TEST(AnimEffects, NewManagerHasTheDefaultTimes) {
  ManagerPtr m = NewManager();
  TacAnimEffects& a = *m->AnimEffects;
  EXPECT_EQ(100, a.SkinChanging()->Time);
  EXPECT_EQ(100, a.DialogShow()->Time);
  EXPECT_EQ(0, a.FormShow()->Time);
  EXPECT_EQ(0, a.PageChange()->Time);
  for (TacFormAnimation* anim : {static_cast<TacFormAnimation*>(a.SkinChanging()),
                                 static_cast<TacFormAnimation*>(a.DialogShow()),
                                 static_cast<TacFormAnimation*>(a.FormShow()),
                                 static_cast<TacFormAnimation*>(a.PageChange())})
    EXPECT_TRUE(anim->Active);
  EXPECT_EQ(AllBtnEvents, a.Buttons()->Events());
}

TEST(AnimEffects, ButtonEventsAreShared) {
  TacAnimatEvents saved = DefaultAnimatEvents;
  ManagerPtr one = NewManager();
  ManagerPtr other = NewManager();
  one->AnimEffects->Buttons()->SetEvents(1u << beMouseEnter | 1u << beMouseUp);
  EXPECT_EQ(AnimatEventBit(aeMouseEnter) | AnimatEventBit(aeMouseUp),
            DefaultAnimatEvents & AllBtnEvents);
  EXPECT_EQ(1u << beMouseEnter | 1u << beMouseUp, other->AnimEffects->Buttons()->Events());
  one->AnimEffects->Buttons()->SetEvents(AllBtnEvents);
  DefaultAnimatEvents = saved;
}
