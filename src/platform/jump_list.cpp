#include "platform/jump_list.h"

#include "platform/module.h"

#include <propkey.h>
#include <propsys.h>

namespace velmora::platform {

bool SetProcessAppId(const wchar_t* id) {
    return SUCCEEDED(on_demand::SetCurrentProcessExplicitAppUserModelID(id));
}

HRESULT NewTaskLink(const JumpTask& task, ComPtr<IShellLinkW>& link) {
    const std::wstring exe = ProgramPath();
    HRESULT hr = NewShellLink({exe, task.arguments, ProgramFolder(), exe, 0, task.description}, link);
    ComPtr<IPropertyStore> properties;
    if (SUCCEEDED(hr))
        hr = link.get()->QueryInterface(__uuidof(IPropertyStore), PutVoid(properties));
    if (FAILED(hr))
        return hr;
    // Filled by hand: InitPropVariantFromString would import shlwapi's SHStrDupW at link time. The
    // store copies the value, so the text stays the caller's and nothing needs freeing.
    PROPVARIANT title{};
    title.vt = VT_LPWSTR;
    title.pwszVal = const_cast<wchar_t*>(task.title.c_str());
    if (FAILED(hr = properties.get()->SetValue(PKEY_Title, title)))
        return hr;
    return properties.get()->Commit();
}

HRESULT SetJumpListTasks(const std::vector<JumpTask>& tasks, const wchar_t* appId) {
    ComApartment com;
    ComPtr<ICustomDestinationList> list;
    HRESULT hr = com.Result();
    if (SUCCEEDED(hr))
        hr = on_demand::CoCreateInstance(CLSID_DestinationList, nullptr, CLSCTX_INPROC_SERVER,
                                         __uuidof(ICustomDestinationList), PutVoid(list));
    if (SUCCEEDED(hr))
        hr = list.get()->SetAppID(appId);
    if (FAILED(hr) || tasks.empty())
        return FAILED(hr) ? hr : list.get()->DeleteList(appId);
    ComPtr<IObjectCollection> collection;
    hr = on_demand::CoCreateInstance(CLSID_EnumerableObjectCollection, nullptr, CLSCTX_INPROC_SERVER,
                                     __uuidof(IObjectCollection), PutVoid(collection));
    for (size_t i = 0; i < tasks.size() && SUCCEEDED(hr); ++i) {
        ComPtr<IShellLinkW> link;
        hr = NewTaskLink(tasks[i], link);
        if (SUCCEEDED(hr))
            hr = collection.get()->AddObject(link.get());
    }
    // The slots and the items the user removed concern recent and custom destinations; tasks
    // cannot be removed from the list.
    UINT slots = 0;
    ComPtr<IObjectArray> removed;
    if (SUCCEEDED(hr))
        hr = list.get()->BeginList(&slots, __uuidof(IObjectArray), PutVoid(removed));
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = list.get()->AddUserTasks(collection.get()))) {
        list.get()->AbortList();
        return hr;
    }
    return list.get()->CommitList();
}

} // namespace velmora::platform
