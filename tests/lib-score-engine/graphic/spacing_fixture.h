#pragma once

#include <memory>
#include <vector>

#include "GRNotationElement.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"
#include "kf_ivect.h"

namespace EngineTesting {

// A system of one slice with two staves, a store of springs indexed by id as the layout keeps
// them, and the spring parameter and optimum force back at their defaults.
class SpacingFixture : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    GRSpring::setFunctionParameter(1.1f);
    GRSpaceForceFunction2::setOptForce(750);
    slice = new GRSystemSlice(nullptr, Fraction(0, 1));
    system.AddSystemSlice(slice);
    for (int n = 0; n < 2; ++n) {
      staves[n] = new GRStaff(slice);
      slice->addStaff(staves[n], n);
    }
  }
  void TearDown() override {
    GRSpring::setFunctionParameter(1.1f);
    GRSpaceForceFunction2::setOptForce(750);
    GraphicFixture::TearDown();
  }

  // A spring of the given constant stretched to extent under its own force.
  GRSpring* AddSpring(int id, float constant, float extent) {
    auto* spring = new GRSpring(Fraction(id, 4), Fraction(1, 4));
    spring->set_const(constant);
    spring->change_x(extent);
    spring->setID(id);
    springs.Set(id, spring);
    return spring;
  }

  // A plain element on staff at y with room to its left and right and a box of the given
  // height centred on it.
  GRNotationElement* Element(int staff, float y, float left, float right, float height = 20) {
    elements.push_back(std::make_unique<GRNotationElement>());
    GRNotationElement* el = elements.back().get();
    el->setGRStaff(staves[staff]);
    el->setPosition(NVPoint{0, y});
    el->setBoundingBox(NVRect{-left, -height / 2, right, height / 2});
    el->setLeftSpace(left);
    el->setRightSpace(right);
    return el;
  }

  GRSystem system;
  GRSystemSlice* slice = nullptr;
  GRStaff* staves[2] = {};
  KF_IVector<GRSpring> springs{1};
  std::vector<std::unique_ptr<GRNotationElement>> elements;
};

}  // namespace EngineTesting
