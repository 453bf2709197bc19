#include "core/String.h"
#include "core/collections.DictionaryList.h"
#include "core/collections.ObjectArray.h"
#include "core/collections.PointerArray.h"
#include "core/collections.SimpleTypeArray.h"
#include "core/exception.BaseException.h"
#include "core/object.Heap.h"

#include "core/ThrownCode.h"

#include <gtest/gtest.h>

using namespace velmo::core;
using collections::ObjectArray;
using collections::PointerArray;
using collections::SimpleTypeArray;
using exception::BaseException;
using velmo::tests::codeOf;

TEST(Collections, IndexesAreCheckedNotClamped)
{
    SimpleTypeArray<std::int32_t> values;
    values.add(10);
    values.add(20);
    EXPECT_EQ(codeOf([&] { values.getItem(2); }), 4001);
    EXPECT_EQ(codeOf([&] { values.getItem(-1); }), 4001);
    EXPECT_EQ(codeOf([&] { values.setItem(2, 0); }), 4001);
    EXPECT_EQ(codeOf([&] { values.getItemAddress(5); }), 4001);

    String item("x");
    PointerArray<String> pointers;
    pointers.setCount(2);
    pointers.setItem(1, &item);
    EXPECT_EQ(codeOf([&] { pointers.getItem(0); }), 4002);
    EXPECT_EQ(pointers.getItem(1), &item);
    EXPECT_EQ(codeOf([&] { pointers.removeItem(2); }), 4001);
}

TEST(Collections, GrowthZeroFillsAndShrinkKeepsSlots)
{
    SimpleTypeArray<unsigned char> bytes;
    bytes.setCount(40);
    for (std::int32_t i = 0; i < 40; ++i)
        EXPECT_EQ(bytes.getItem(i), 0);
    bytes.setItem(39, 7);
    bytes.setCount(10);
    bytes.setCount(-3);
    EXPECT_EQ(bytes.getCount(), 10);
    bytes.setCount(40);
    EXPECT_EQ(bytes.getItem(39), 7);
}

TEST(Collections, PointerArrayRemoveAndReverse)
{
    String a("a"), b("b"), c("c");
    PointerArray<String> list;
    list.add(&a);
    list.add(&b);
    list.add(&c);
    list.removeItem(0);
    list.reverse();
    ASSERT_EQ(list.getCount(), 2);
    EXPECT_EQ(list.getItem(0), &c);
    EXPECT_EQ(list.getItem(1), &b);
}

TEST(Collections, ObjectArrayReleasesWhatItMade)
{
    std::int64_t nBlocksBefore = object::Heap::getLiveBlockCount();
    std::int64_t nBytesBefore = object::Heap::getLiveByteCount();
    {
        ObjectArray<String> texts;
        for (int i = 0; i < 50; ++i)
            texts.addNew()->assign(i);
        EXPECT_STREQ(texts.getItem(49)->getBuffer(), "49");
        EXPECT_NE(texts.getItem(0)->getOwner(), nullptr);
        texts.clear();
        EXPECT_EQ(texts.getCount(), 0);
        texts.addNew()->assign("again");
    }
    // The factory singleton stays; everything else is returned.
    object::ObjectFactory<String>::getInstance();
    EXPECT_LE(object::Heap::getLiveBlockCount(), nBlocksBefore + 1);
    EXPECT_LE(object::Heap::getLiveByteCount(), nBytesBefore + 64);
}

TEST(Collections, DictionaryListKeepsOrderAndDuplicates)
{
    collections::DictionaryList list;
    list.add("Type", "/Page");
    list.add("Count", 3);
    list.add("Type", String("/Pages"));
    ASSERT_EQ(list.getCount(), 3);
    EXPECT_STREQ(list.getKey(2).getBuffer(), "Type");
    EXPECT_STREQ(list.getValue(1).getBuffer(), "3");
    EXPECT_STREQ(list.getValue(2).getBuffer(), "/Pages");
    list.clear();
    EXPECT_EQ(list.getCount(), 0);
}
