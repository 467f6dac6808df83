#include <gtest/gtest.h>

#include <initializer_list>

#include "GRSpacingMatrix.h"
#include "spacing_fixture.h"

namespace {

using SpacingMatrixTest = EngineTesting::SpacingFixture;

KF_List<int>* NeighbourRun(std::initializer_list<int> ids) {
  auto* list = new KF_List<int>;
  for (int id : ids) list->AddTail(id);
  return list;
}

std::vector<int> Firsts(KF_IPointerList<KF_List<int>> const* lists) {
  std::vector<int> firsts;
  for (void* pos = lists->GetHeadPosition(); pos;) firsts.push_back(lists->GetNext(pos)->GetHead());
  return firsts;
}

TEST_F(SpacingMatrixTest, ValuesSurviveGrowingAndStayInBounds) {
  GRSpacingMatrix matrix;
  EXPECT_EQ(matrix.getMSCMatrixMemSize(), 50);
  matrix.resizeMSCMatrix(20);
  EXPECT_EQ(matrix.getMSCMatrixMemSize(), 50);
  EXPECT_EQ(matrix.getMSCMatrixRealSize(), 20);
  matrix.setMSCMatrix(19, 5, 7);
  matrix.setMSCMatrix(3, 3, 4);
  matrix.setMSCMatrix(20, 3, 9);  // outside: ignored
  matrix.setMSCMatrix(3, 6, 9);
  matrix.resizeMSCMatrix(60);
  EXPECT_EQ(matrix.getMSCMatrixMemSize(), 70);
  EXPECT_EQ(matrix.getMSCMatrix(19, 5), 7);
  EXPECT_EQ(matrix.getMSCMatrix(3, 3), 4);
  EXPECT_EQ(matrix.getMSCMatrix(20, 3), 0);
  EXPECT_EQ(matrix.getMSCMatrix(3, 6), 0);
  EXPECT_EQ(matrix.getMSCMatrix(-1, 3), 0);
}

// The matrix of a stretch far into a score holds only its own columns, and still every column
// written, also one before its first.
TEST_F(SpacingMatrixTest, AMatrixFromAFirstColumnKeepsEveryValue) {
  GRSpacingMatrix matrix(100000);
  matrix.resizeMSCMatrix(100010);
  EXPECT_LE(matrix.getMSCMatrixMemSize(), 50);
  matrix.setMSCMatrix(100005, 3, 2);
  matrix.setMSCMatrix(99990, 3, 5);
  EXPECT_EQ(matrix.getMSCMatrix(100005, 3), 2);
  EXPECT_EQ(matrix.getMSCMatrix(99990, 3), 5);
  EXPECT_EQ(matrix.getMSCMatrix(99991, 3), 0);
  EXPECT_EQ(matrix.getMSCMatrix(100010, 3), 0);
}

TEST_F(SpacingMatrixTest, NeighbourListsAreKeptInBothOrders) {
  GRSpacingMatrix matrix;
  matrix.AddNeighbourList(NeighbourRun({4, 6}));
  matrix.AddNeighbourList(NeighbourRun({0, 2, 8}));
  matrix.AddNeighbourList(NeighbourRun({5, 7}));
  matrix.AddNeighbourList(NeighbourRun({1, 3}));
  EXPECT_EQ(Firsts(matrix.getListsByStart()), (std::vector<int>{0, 1, 4, 5}));
  EXPECT_EQ(Firsts(matrix.getListsByEnd()), (std::vector<int>{0, 5, 4, 1}));  // by last, falling
}

// Four quarters against a half and two quarters: row 3 holds the frequency of the shortest note
// spanning each spring.
TEST_F(SpacingMatrixTest, IrregularRunsAreEvenedOut) {
  GRSpacingMatrix matrix;
  matrix.resizeMSCMatrix(4);
  double const frequencies[] = {4, 4, 4, 2};
  for (int id = 0; id < 4; ++id) {
    matrix.setMSCMatrix(id, GRSpacingMatrix::kFrequencyRow, frequencies[id]);
    auto* spring = new GRSpring(Fraction(id, 4), Fraction(1, 4));
    springs.Set(id, spring);
  }
  matrix.CheckNeighbours(&springs);  // no lists: nothing happens
  EXPECT_EQ(matrix.getMSCMatrix(3, 3), 2);

  matrix.AddNeighbourList(NeighbourRun({0, 1, 2}));  // even
  matrix.AddNeighbourList(NeighbourRun({7}));        // a lone note counts as even too
  matrix.CheckNeighbours(&springs);
  EXPECT_EQ(matrix.getMSCMatrix(3, 3), 2);

  // Means 4, then 3; widened over the even run to 0 .. 4, whose series stiffness is within 0.05
  // of four springs at the average frequency.
  matrix.AddNeighbourList(NeighbourRun({1, 2, 4}));
  matrix.CheckNeighbours(&springs);
  for (int id = 0; id < 4; ++id) EXPECT_EQ(matrix.getMSCMatrix(id, 3), 3.5) << id;
}

}  // namespace
