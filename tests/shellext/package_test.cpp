// The menu package that tools/make-package writes, read back under Wine:
// a zip whose entries the block map describes exactly (sizes, local header
// sizes, the SHA-256 of every 64 KiB block), well-formed XML, and a manifest
// whose command class is the one tavrex.dll serves.
#include <gtest/gtest.h>
#include <windows.h>
#include <bcrypt.h>
#include <msxml2.h>
#include <objbase.h>
#include <shobjidl.h>
#include <wincrypt.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "driver.h"
#include "shellext_support.h"
#include "core/wide_win.h"
#include "shell/com_win.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

struct Entry {
    std::string data;
    std::uint32_t headerSize = 0;  // the local header with its name and extra field
};

// The entries of a zip of stored files, by name, from its central directory.
std::map<std::string, Entry> ReadZip(const std::string& zip)
{
    std::map<std::string, Entry> entries;
    const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) return entries;
    const std::uint32_t count = Le(zip, end + 10, 2);
    std::size_t at = Le(zip, end + 16, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(Le(zip, at, 4), 0x02014b50u);
        EXPECT_EQ(Le(zip, at + 10, 2), 0u) << "stored";
        const std::uint32_t size = Le(zip, at + 20, 4), nameLength = Le(zip, at + 28, 2);
        const std::uint32_t central = 46 + nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
        const std::string name = zip.substr(at + 46, nameLength);
        const std::size_t local = Le(zip, at + 42, 4);
        EXPECT_EQ(Le(zip, local, 4), 0x04034b50u);
        EXPECT_EQ(zip.substr(local + 30, nameLength), name);
        Entry entry;
        entry.headerSize = 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
        entry.data = zip.substr(local + entry.headerSize, size);
        entries[name] = entry;
        at += central;
    }
    return entries;
}

std::wstring FromUtf8(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string Sha256Base64(const std::string& bytes)
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    unsigned char digest[32] = {};
    EXPECT_EQ(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0), 0);
    BCRYPT_HASH_HANDLE hash = nullptr;
    EXPECT_EQ(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0), 0);
    BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), static_cast<ULONG>(bytes.size()),
                   0);
    EXPECT_EQ(BCryptFinishHash(hash, digest, sizeof digest, 0), 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    char text[64] = {};
    DWORD size = sizeof text;
    EXPECT_TRUE(CryptBinaryToStringA(digest, sizeof digest, CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF, text, &size));
    return text;
}

// The document, or nothing when the text is not well-formed XML.
ComPtr<IXMLDOMDocument> Parse(const std::string& utf8)
{
    ComPtr<IXMLDOMDocument> document;
    CLSID parser = {};
    EXPECT_EQ(CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &parser), S_OK);
    EXPECT_EQ(CoCreateInstance(parser, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                               document.put()),
              S_OK);
    if (!document) return document;
    std::wstring text = FromUtf8(utf8);
    BSTR source = SysAllocString(text.c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->loadXML(source, &loaded);
    SysFreeString(source);
    if (loaded != VARIANT_TRUE) document.reset();
    return document;
}

std::wstring Attribute(IXMLDOMNode* node, const wchar_t* name)
{
    ComPtr<IXMLDOMElement> element;
    if (FAILED(node->QueryInterface(IID_IXMLDOMElement, element.put()))) return L"<none>";
    BSTR attribute = SysAllocString(name);
    VARIANT value;
    VariantInit(&value);
    std::wstring out = L"<none>";
    if (element->getAttribute(attribute, &value) == S_OK && value.vt == VT_BSTR) out = value.bstrVal;
    VariantClear(&value);
    SysFreeString(attribute);
    return out;
}

// Every element of that qualified name, in document order.
std::vector<ComPtr<IXMLDOMNode>> Elements(IXMLDOMDocument* document, const std::wstring& name)
{
    std::vector<ComPtr<IXMLDOMNode>> out;
    ComPtr<IXMLDOMNodeList> list;
    BSTR tag = SysAllocString(L"*");
    document->getElementsByTagName(tag, reinterpret_cast<IXMLDOMNodeList**>(list.put()));
    SysFreeString(tag);
    if (!list) return out;
    long length = 0;
    list->get_length(&length);
    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> node;
        list->get_item(i, reinterpret_cast<IXMLDOMNode**>(node.put()));
        BSTR qualified = nullptr;
        if (node && node->get_nodeName(&qualified) == S_OK && qualified && name == qualified)
            out.push_back(std::move(node));
        SysFreeString(qualified);
    }
    return out;
}

}  // namespace

TEST(Package, BlockMapDescribesEveryEntryAndTheManifestNamesTheServedClass)
{
    struct Com {
        Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Com() { CoUninitialize(); }
    } com;
    const char* path = getenv("GLOSSIRA_PACKAGE");
    ASSERT_TRUE(path) << "GLOSSIRA_PACKAGE names the package to read";
    auto entries = ReadZip(ReadFileBytes(FromUtf8(path)));
    ASSERT_EQ(entries.count("AppxManifest.xml"), 1u);
    ASSERT_EQ(entries.count("AppxBlockMap.xml"), 1u);
    ASSERT_EQ(entries.count("[Content_Types].xml"), 1u);
    EXPECT_TRUE(Parse(entries["[Content_Types].xml"].data));
    auto manifest = Parse(entries["AppxManifest.xml"].data);
    auto blockMap = Parse(entries["AppxBlockMap.xml"].data);
    ASSERT_TRUE(manifest);
    ASSERT_TRUE(blockMap);

    // Every entry but the block map and the content types, each block's hash.
    auto files = Elements(blockMap.get(), L"File");
    EXPECT_EQ(files.size(), entries.size() - 2);
    for (const auto& file : files) {
        std::string name = Narrow(Attribute(file.get(), L"Name"));
        for (char& c : name)
            if (c == '\\') c = '/';
        ASSERT_EQ(entries.count(name), 1u) << name;
        const Entry& entry = entries[name];
        EXPECT_EQ(Attribute(file.get(), L"Size"), std::to_wstring(entry.data.size())) << name;
        EXPECT_EQ(Attribute(file.get(), L"LfhSize"), std::to_wstring(entry.headerSize)) << name;
        ComPtr<IXMLDOMNodeList> blocks;
        ASSERT_EQ(file->get_childNodes(reinterpret_cast<IXMLDOMNodeList**>(blocks.put())), S_OK);
        long count = 0, hashed = 0;
        blocks->get_length(&count);
        for (long i = 0; i < count; ++i) {
            ComPtr<IXMLDOMNode> block;
            blocks->get_item(i, reinterpret_cast<IXMLDOMNode**>(block.put()));
            const std::wstring hash = Attribute(block.get(), L"Hash");
            if (hash == L"<none>") continue;  // white space between the blocks
            const std::string piece = entry.data.substr(static_cast<std::size_t>(hashed) * 65536, 65536);
            EXPECT_EQ(Narrow(hash), Sha256Base64(piece)) << name << " block " << hashed;
            ++hashed;
        }
        EXPECT_EQ(hashed, static_cast<long>((entry.data.size() + 65535) / 65536)) << name;
    }

    // The verb and the COM server name one class, and the library serves it.
    auto verbs = Elements(manifest.get(), L"desktop5:Verb");
    auto classes = Elements(manifest.get(), L"com:Class");
    ASSERT_EQ(verbs.size(), 1u);
    ASSERT_EQ(classes.size(), 1u);
    const std::wstring clsid = Attribute(verbs[0].get(), L"Clsid");
    EXPECT_EQ(Attribute(classes[0].get(), L"Id"), clsid);
    EXPECT_EQ(Attribute(classes[0].get(), L"Path"), L"tavrex.dll");
    CLSID id = {};
    ASSERT_EQ(CLSIDFromString(clsid.c_str(), &id), S_OK);
    struct Library {
        HMODULE module = LoadLibraryW(LibraryPath().c_str());
        ~Library()
        {
            if (module) FreeLibrary(module);
        }
    } loaded;
    HMODULE library = loaded.module;
    ASSERT_TRUE(library);
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    ASSERT_TRUE(getClassObject);
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(id, IID_IClassFactory, factory.put()), S_OK);
        ComPtr<IExplorerCommand> command;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IExplorerCommand, command.put()), S_OK);
    }
    EXPECT_EQ(CanUnload(), S_OK);
}
