#pragma once

#include "app/Document.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// A document whose folder is a fresh temporary directory, with the contacts
// store, the registry and the phone log pointed into it as well.
class DocumentFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_CONTACTS", temp.native("contacts.vcf").c_str(), 1);
        ::setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
        ::setenv("RINGWISE_PHONE_LOG", temp.native("calls.log").c_str(), 1);
        // The program's folder, where settings.xml lives.
        std::filesystem::create_directory(temp.native("app"));
        document = std::make_unique<Document>(temp.wide("app"));
    }
    void TearDown() override
    {
        document.reset();
        for (const char* name : { "RINGWISE_CONTACTS", "RINGWISE_REGISTRY", "RINGWISE_PHONE_LOG" })
            ::unsetenv(name);
    }

    TempDirectory temp;
    std::unique_ptr<Document> document;
};
