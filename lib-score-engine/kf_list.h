#pragma once

// The engine's doubly linked list of values. Positions are the addresses of the nodes, handed out
// as opaque pointers: a position stays valid while its node is in the list, whatever is inserted
// or removed elsewhere, which is what lets voices and chords remember places in their event lists.
// The list never destroys its values; the owning pointer form derives from it (kf_ilist.h).
// Every change of links or values counts up the list's version, so that an index kept beside a
// list can tell that it is out of date.

#include <functional>

#include "engine_work.h"
#include "kf_node_pool.h"
#include "src/common/assertion.h"

template <class T>
struct KF_ListNode {
  T data;
  KF_ListNode* next;
  KF_ListNode* prev;
};

template <class T>
class KF_List {
 public:
  using Node = KF_ListNode<T>;
  using NodePool = KF_NodePool<Node>;

  KF_List() = default;
  KF_List(KF_List const&) = delete;
  KF_List& operator=(KF_List const&) = delete;

  virtual ~KF_List() { FreeNodesForward(); }

  // Insertion: each allocates the node before any link changes, so a failed allocation leaves
  // the list as it was.
  void* AddTail(T value) {
    Node* node = NodePool::Make(value, nullptr, tail);
    ++version;
    if (tail)
      tail->next = node;
    else
      head = node;
    tail = node;
    ++count;
    return node;
  }

  void* AddHead(T value) {
    Node* node = NodePool::Make(value, head, nullptr);
    ++version;
    if (head)
      head->prev = node;
    else
      tail = node;
    head = node;
    ++count;
    return node;
  }

  // Inserts before pos; a null position or the head's position inserts at the head.
  void* AddElementAt(void* pos, T value) {
    Node* at = static_cast<Node*>(pos);
    if (!at || at == head) return AddHead(value);
    Node* node = NodePool::Make(value, at, at->prev);
    ++version;
    at->prev->next = node;
    at->prev = node;
    ++count;
    return node;
  }

  // Inserts after pos; a null position or the tail's position inserts at the tail.
  void* AddElementAfter(void* pos, T value) {
    Node* at = static_cast<Node*>(pos);
    if (!at || at == tail) return AddTail(value);
    Node* node = NodePool::Make(value, at->next, at);
    ++version;
    at->next->prev = node;
    at->next = node;
    ++count;
    return node;
  }

  void* GetHeadPosition() const { return head; }
  void* GetTailPosition() const { return tail; }

  // Returns the value at pos and moves pos on; after the tail pos becomes null. Because the
  // position has already moved, a walk may remove the node it has just passed.
  T GetNext(void*& pos) const {
    ++EngineWork::tListSteps;
    Node* node = static_cast<Node*>(pos);
    pos = node->next;
    return node->data;
  }

  T GetPrev(void*& pos) const {
    ++EngineWork::tListSteps;
    Node* node = static_cast<Node*>(pos);
    pos = node->prev;
    return node->data;
  }

  T GetAt(void* pos) const { return static_cast<Node*>(pos)->data; }
  T GetHead() const { return head ? head->data : T{}; }
  T GetTail() const { return tail ? tail->data : T{}; }

  int GetCount() const { return count; }
  unsigned GetVersion() const { return version; }
  int size() const { return count; }
  bool empty() const { return count == 0; }
  bool IsEmpty() const { return count == 0; }

  // Replaces the value in place; the old value is not destroyed, also in an owning list.
  void SetAt(void* pos, T value) {
    static_cast<Node*>(pos)->data = value;
    ++version;
  }

  // Hands the head's value to the caller; never destroys it, also in an owning list.
  T RemoveHead() {
    if (!head) return T{};
    Node* node = head;
    T value = node->data;
    ++version;
    head = node->next;
    if (head)
      head->prev = nullptr;
    else
      tail = nullptr;
    NodePool::Release(node);
    --count;
    return value;
  }

  // Forgets the chain without freeing it: whoever took the nodes over is responsible for them.
  virtual void ResetListNoDelete() { ResetChain(); }

  virtual void RemoveAll() { FreeNodesForward(); }

  virtual void RemoveAllBackward() {
    Node* cur = tail;
    while (cur) {
      Node* prev = cur->prev;
      NodePool::Release(cur);
      cur = prev;
    }
    ResetChain();
  }

  virtual void RemoveElementAt(void* pos) {
    Node* node = static_cast<Node*>(pos);
    if (!node) return;
    ++version;
    if (node->prev)
      node->prev->next = node->next;
    else
      head = node->next;
    if (node->next)
      node->next->prev = node->prev;
    else
      tail = node->prev;
    NodePool::Release(node);
    --count;
  }

  // Makes pos the last node; everything after it is detached (neither freed nor counted). The
  // count is recomputed from the chain, and the walk must end at pos: a position of another list
  // stops the process here.
  void SetTailPosition(void* pos) {
    ++version;
    tail = static_cast<Node*>(pos);
    if (tail) tail->next = nullptr;
    count = 0;
    if (!head) return;
    Node* cur = head;
    count = 1;
    while (cur->next) {
      cur = cur->next;
      ++count;
    }
    MELVARIN_ASSERT(cur == tail);
  }

  // Adopts a chain of nodes; only an empty list may do so.
  void SetHeadPosition(void* pos) {
    MELVARIN_ASSERT(!head);
    MELVARIN_ASSERT(!tail);
    ++version;
    head = static_cast<Node*>(pos);
    count = 0;
    if (!head) return;
    head->prev = nullptr;
    Node* cur = head;
    count = 1;
    while (cur->next) {
      cur = cur->next;
      ++count;
    }
    tail = cur;
  }

  // Splits after pos: the nodes after it move, unchanged and in order, to a new list stored
  // through out (also when it stays empty); a null pos moves everything. The caller owns it.
  virtual void Cut(void* pos, KF_List<T>** out) {
    auto* rest = new KF_List<T>;
    *out = rest;
    SpliceAfter(pos, rest);
  }

  // Bubble sort that exchanges values, not links: positions held across it name other values
  // afterwards. Equal values never move.
  virtual void sort() {
    if (!head) return;
    std::greater<T> after;
    bool swapped = true;
    while (swapped) {
      swapped = false;
      for (Node* cur = head; cur->next; cur = cur->next) {
        if (after(cur->data, cur->next->data)) {
          ++version;
          T keep = cur->data;
          cur->data = cur->next->data;
          cur->next->data = keep;
          swapped = true;
        }
      }
    }
  }

 protected:
  // Moves the nodes after pos (all of them for a null pos) into the empty list rest.
  void SpliceAfter(void* pos, KF_List<T>* rest) {
    if (!pos) {
      Node* chain = head;
      ResetChain();
      rest->SetHeadPosition(chain);
      return;
    }
    Node* next = static_cast<Node*>(pos)->next;
    SetTailPosition(pos);
    rest->SetHeadPosition(next);
  }

  void ResetChain() {
    head = nullptr;
    tail = nullptr;
    count = 0;
    ++version;
  }

  Node* head = nullptr;
  Node* tail = nullptr;
  int count = 0;
  unsigned version = 0;

 private:
  void FreeNodesForward() {
    Node* cur = head;
    while (cur) {
      Node* next = cur->next;
      NodePool::Release(cur);
      cur = next;
    }
    ResetChain();
  }
};
